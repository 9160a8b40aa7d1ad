// The grammar of one ini line: blank or comment, section header (well formed
// or not), key line, or a line that is none of these.  The analysis only
// finds positions; it copies nothing.
#pragma once
#include <cstddef>

// Lines are read through a buffer of this size; the part of a longer line
// beyond it is not seen by the grammar (see ini_linha.h).
enum : size_t { INI_TAM_LINHA = 4096 };

enum TipoLinhaIni {
  INI_LINHA_VAZIA,         // blank, or a comment beginning with ";"
  INI_LINHA_SECAO,         // "[name]" with a non-empty name
  INI_LINHA_MALFORMADA,    // "[" without "]", or "[]"
  INI_LINHA_CHAVE,         // key = value
  INI_LINHA_SEM_IGUAL,     // anything else (no "=")
};

struct LinhaIni {
  TipoLinhaIni tipo = INI_LINHA_VAZIA;
  // Section: the name is [ini_nome, fim_nome) and the closing "]" is at
  // fim_nome.  Key line: the key is [ini_nome, fim_nome).
  size_t ini_nome = 0, fim_nome = 0;
  // Key line: the value as written, quotes included, is [ini_bruto,
  // fim_bruto); the value as stored is [ini_valor, fim_valor).
  size_t ini_bruto = 0, fim_bruto = 0;
  size_t ini_valor = 0, fim_valor = 0;
  char aspas = 0;          // the quote that enclosed the value, or 0
};

// Analyses the n bytes of one line (without its terminator).
void AnalisaLinhaIni(const char* s, size_t n, LinhaIni* l);
