// Small helpers shared by the request builders: sending a text field,
// sending it and keeping a copy in the current record, declining a field,
// and right-aligned zero-filled pieces of composite values.
#pragma once
#include <cstddef>
#include <cstring>

#include "hostmsg/iso_campos.h"
#include "hostmsg/iso_envio.h"

// Sends at most `max` characters of a text (up to its zero).
inline int EnviaTexto(const Campo& c, const char* texto, size_t max) {
  return MontaCampo(texto, strnlen(texto, max), c);
}

// Sends the first n characters of a text and, when sent, keeps them with a
// terminating zero in `destino` (cut to its room).
template <size_t N>
int EnviaEGuarda(const Campo& c, const char* texto, size_t n, char (&destino)[N]) {
  int r = MontaCampo(texto, n, c);
  if (r != 0) return r;
  size_t k = n < N ? n : N - 1;
  std::memmove(destino, texto, k);
  std::memset(destino + k, 0, N - k);
  return 0;
}

// Copies a text field of a record (up to its zero, within its width, which
// a record read from disk may fill) into another, cut to its room and
// zero-terminated.
template <size_t N, size_t M>
void CopiaCampo(char (&destino)[N], const char (&origem)[M]) {
  size_t k = strnlen(origem, M);
  if (k > N - 1) k = N - 1;
  std::memcpy(destino, origem, k);
  std::memset(destino + k, 0, N - k);
}

// Whether a 6-digit processing code is one of two.
inline bool ProcessamentoEntre(const char* codigo, const char* a, const char* b) {
  return std::strncmp(codigo, a, 7) == 0 || std::strncmp(codigo, b, 7) == 0;
}

// The field is not sent: its bit is cleared and nothing is appended.
inline int Declina(const Campo& c) {
  DesmarcaCampo(c.numero);
  return 0;
}

// `n` characters right-aligned in `largura`, filled on the left with "0".
// False (nothing written) when they do not fit.
inline bool AlinhaDireita(char* saida, const char* texto, size_t n, size_t largura) {
  if (n > largura) return false;
  std::memset(saida, '0', largura - n);
  std::memcpy(saida + largura - n, texto, n);
  return true;
}

// The same for a text field of a record (up to its zero, within its width).
template <size_t N>
bool AlinhaCampo(char* saida, const char (&campo)[N], size_t largura) {
  return AlinhaDireita(saida, campo, strnlen(campo, N), largura);
}
