// kovtool erro CODE: the symbolic name of a run-time error code.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "comandos.h"
#include "nvpr/nv_error.h"

int CmdErro(int argc, char** argv) {
  if (argc != 2) return ErroUso("erro: expected one CODE");
  const char* s = argv[1];
  const char* d = (s[0] == '-') ? s + 1 : s;
  if (*d < '0' || *d > '9') return ErroUso("erro: '%s' is not a number", s);
  char* fim = nullptr;
  errno = 0;
  long v = std::strtol(s, &fim, 10);
  if (*fim != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
    return ErroUso("erro: '%s' is not a number", s);
  std::printf("%s\n", NV_NomeErro(static_cast<int>(v)));
  return 0;
}
