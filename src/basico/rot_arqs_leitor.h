// The reader of audit files: walks a file record by record, checks and
// deciphers each one, and hands every record to a visitor, including the
// damaged ones: a record that fails its check, and a stretch of bytes that
// holds no record (a cut-off tail, a changed length), after which the walk
// resumes at the next record that passes its check.  Memory stays bounded
// by one window of the file, whatever its size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "basico/rot_arqs_cifra.h"

enum EstadoRegistroAuditLido : int {
  kAuditLidoValido = 0,     // passed its check; dados holds the deciphered data
  kAuditLidoFalhou = 1,     // a whole record that fails its check; hora and tipo as stored
  kAuditLidoDanificado = 2, // bytes that hold no record
};

struct RegistroAuditLido {
  int64_t posicao = 0;      // offset in the file
  int64_t bytes = 0;        // bytes of the file this entry covers
  int estado = kAuditLidoValido;
  char hora[9] = {};        // the time text (kAuditLidoValido, kAuditLidoFalhou)
  uint8_t tipo = 0;
  size_t tam_dados = 0;     // the data's length
  const uint8_t* dados = nullptr;   // deciphered data (kAuditLidoValido only)
};

struct ResumoLeituraAudit {
  int64_t validos = 0;
  int64_t danificados = 0;   // failed records and damaged stretches
};

using VisitanteAudit = void (*)(const RegistroAuditLido* reg, void* contexto);

// Walks the file.  0 when it was read to its end (damage goes to the
// visitor and the summary); a file code when it cannot be opened or read;
// 22 when the key is not loaded.
int LeArquivoAudit(const char* caminho, const ChaveAudit* chave, VisitanteAudit visitante,
                   void* contexto, ResumoLeituraAudit* resumo);

// One line of text (no newline): the time, kind, length and data, with the
// printable characters as they are and the rest (and '\') as \xNN.
std::string FormataAuditTexto(const RegistroAuditLido* reg);
// One JSON object (no newline), the data in hexadecimal.
std::string FormataAuditJson(const RegistroAuditLido* reg);
