// What the readers of the audit and mirror files share: a read window over a
// file, in which any range of up to kMaxJanela bytes is made available from
// one buffer that is refilled as the walk moves on (so a reader never holds
// a whole file), the escaping of bytes read from a file for display, and
// the line that reports a damaged stretch.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "nvpr/nv_file.h"

inline constexpr size_t kMaxJanela = 256 * 1024;

struct JanelaArquivo {
  NV_Arquivo arquivo;
  int64_t tamanho = 0;           // size of the file
  int64_t base = 0;              // file offset of buf[0]
  size_t cheios = 0;             // valid bytes in buf
  int erro = 0;                  // first read error
  std::vector<uint8_t> buf;
};

// Opens the file (through the path layer) for reading: 0 or a file code.
int AbreJanela(JanelaArquivo* j, const char* caminho);
// The n bytes at pos (n at most kMaxJanela), or null when they are not all
// in the file or cannot be read (j->erro then holds the code).
const uint8_t* BytesJanela(JanelaArquivo* j, int64_t pos, size_t n);

// Appends the bytes with printable ASCII as it is and the rest (and '\')
// as \xNN, so the text shows every byte unambiguously.
void AnexaEscapado(std::string* s, const uint8_t* p, size_t n);

// The line of a stretch of a file that holds no record.
std::string TextoDanoArquivo(int64_t posicao, int64_t bytes);
