// kovtool valor DIGITS: the amount in cents as Brazilian money text.
#include <cstdio>

#include "comandos.h"
#include "services/valor.h"

int CmdValor(int argc, char** argv) {
  if (argc != 2) return ErroUso("valor takes one amount in cents: kovtool valor DIGITS");
  if (const char* motivo = MotivoValorInvalido(argv[1])) return ErroUso("valor: %s", motivo);
  char texto[32];  // 14 digits, 4 points, the comma and a leading zero
  FormataValor(argv[1], texto, sizeof texto);
  std::printf("%s\n", texto);
  return 0;
}
