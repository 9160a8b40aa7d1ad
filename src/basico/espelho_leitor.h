// The reader of mirror (export) files: walks a file record by record by
// the length fields and hands each record to a visitor, split into its
// header fields, the primary record and the secondary ranges.  Bytes that
// hold no record (a cut-off tail, a changed length or marker) are handed
// over as one damaged stretch, and the walk resumes at the next offset that
// starts a well-formed record.  Memory stays bounded by one window.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct RegistroEspelhoLido {
  int64_t posicao = 0;        // offset in the file
  int64_t bytes = 0;          // bytes of the file this entry covers
  bool valido = true;         // false: a damaged stretch, the fields below unset
  int operacao = 0;           // 0 new record, 1 rewrite
  int rede = 0;
  int hora[9] = {};           // seconds, minutes, hours, day, month 0-11, years
                              // since 1900, day of week, day of year, DST flag
  char data[9] = {};          // YYYYMMDD of the log record
  char empresa[9] = {};
  char nsu[7] = {};
  const uint8_t* principal = nullptr;   // as stored (card number scrambled)
  size_t tam_principal = 0;
  const uint8_t* secundario = nullptr;  // the secondary ranges, or null
  size_t tam_secundario = 0;
};

struct ResumoLeituraEspelho {
  int64_t validos = 0;
  int64_t danificados = 0;
};

using VisitanteEspelho = void (*)(const RegistroEspelhoLido* reg, void* contexto);

// Walks the file.  tam_principal is the primary record length of the log
// (214 for the module): the bytes after the header up to it are the primary
// record and the rest the secondary ranges.  0 when read to its end; a file
// code when the file cannot be opened or read.
int LeArquivoEspelho(const char* caminho, size_t tam_principal, VisitanteEspelho visitante,
                     void* contexto, ResumoLeituraEspelho* resumo);

// The header as text: operation, network, local time, date, company, NSU.
std::string FormataCabecalhoEspelho(const RegistroEspelhoLido* reg);
// A damaged stretch as text.
std::string FormataDanoEspelho(const RegistroEspelhoLido* reg);
