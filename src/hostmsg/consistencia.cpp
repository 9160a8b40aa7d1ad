// ErroConsistencia: the one place that prints a consistency error.
#include "hostmsg/consistencia.h"

#include <cstdio>

void ErroConsistencia(const char* texto, size_t n, const void* bytes) {
  std::printf("Erro Consistencia: %s\n", texto);
  const unsigned char* b = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; b != nullptr && i < n; ++i) std::printf("%02x  ", b[i]);
  std::printf("\n");
  std::fflush(stdout);
}
