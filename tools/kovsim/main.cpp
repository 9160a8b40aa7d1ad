// kovsim: stand-ins for the switch processes at the other ends of the
// module's queues.  They honour exactly the module's queue framing,
// envelope and link scrambling, under the same drive root (KOVRA_DRIVE).
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "comandos.h"
#include "services/trace.h"

static const ComandoKovsim kComandos[] = {
    {"pdv", CmdPdv,
     "pdv [--send-hex HEX]... [--close --terminal T --company C [--subtype 2|4]] [--count N] "
     "[--wait MS] [--hex]  the switch's PDV side"},
    {"drivers", CmdDrivers,
     "drivers [[--kind K] [--header TEXT] [--obfuscated] --inject-hex HEX]... [--envelope-hex HEX]... "
     "[--count N] [--wait MS]  the switch's host drivers"},
};

namespace {

void Linha(const char* formato, va_list ap) {
  std::fputs("kovsim: ", stderr);
  std::vfprintf(stderr, formato, ap);
  std::fputc('\n', stderr);
}

void Uso() {
  std::fputs("usage: kovsim STAND-IN [ARGS]\n", stderr);
  for (const auto& c : kComandos) std::fprintf(stderr, "  %s\n", c.uso);
}

}  // namespace

int ErroUso(const char* formato, ...) {
  va_list ap;
  va_start(ap, formato);
  Linha(formato, ap);
  va_end(ap);
  return 2;
}

int Falha(const char* formato, ...) {
  va_list ap;
  va_start(ap, formato);
  Linha(formato, ap);
  va_end(ap);
  return 1;
}

int main(int argc, char** argv) {
  // An operator tool reports on its own console; only the module writes
  // the switch's message log.
  MensagensNoConsole(true);
  if (argc < 2) {
    Uso();
    return 2;
  }
  for (const auto& c : kComandos)
    if (std::strcmp(argv[1], c.nome) == 0) return c.funcao(argc - 1, argv + 1);
  ErroUso("unknown stand-in '%s'", argv[1]);
  Uso();
  return 2;
}
