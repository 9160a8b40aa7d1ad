// The module's words for results: `TabCodResposta` turns the host's
// two-character response code (field 39) into the 16-character text the PDV
// shows, and `TextoResultado` turns a failed request build into the text and
// two-character code of the PDV's error reply.
#pragma once
#include <cstdint>

struct LinhaCodResposta {
  char codigo[3];
  const char* texto;
};

inline constexpr int kNumCodResposta = 59;
extern const LinhaCodResposta TabCodResposta[kNumCodResposta];

// The display text of a received code (a zero-terminated string compared
// whole), or the code itself when no row has it.
const char* BuscaCodResposta(const char* codigo);

// The result byte of a reply that passes a host answer on: the code as a
// two-digit decimal number when both characters are digits, else 255.
uint8_t ByteResultadoCodigo(const char* codigo);

// Writes the text (up to 16 characters and a zero, 17 bytes) and the code (2
// characters and a zero, 3 bytes) of a build result into whichever buffers
// are given; "ERRO" and "FF" for a result not in the table.
void TextoResultado(int resultado, char* texto, char* codigo);
