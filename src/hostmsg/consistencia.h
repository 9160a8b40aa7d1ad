// The console report of a message consistency error.
#pragma once
#include <cstddef>

// "Erro Consistencia: <texto>\n", then each of the n bytes as "%02x  ",
// then "\n", on standard output, which is flushed.
void ErroConsistencia(const char* texto, size_t n, const void* bytes);
