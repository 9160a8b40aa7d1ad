// kovtool extenso DIGITS: the amount in cents in words, as the sale receipt
// prints it before turning it to upper case.
#include <cstdio>

#include "comandos.h"
#include "services/valor.h"

int CmdExtenso(int argc, char** argv) {
  if (argc != 2) return ErroUso("extenso takes one amount in cents: kovtool extenso DIGITS");
  if (const char* motivo = MotivoValorInvalido(argv[1])) return ErroUso("extenso: %s", motivo);
  char texto[kTamMaxExtenso + 1];
  ValorPorExtenso(argv[1], texto, sizeof texto);
  std::printf("%s\n", texto);
  return 0;
}
