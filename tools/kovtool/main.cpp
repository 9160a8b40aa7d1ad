// kovtool: the operator's command line over the module's own code.  The
// command table below names every subcommand; each lives in its own file.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "comandos.h"
#include "services/trace.h"

static const ComandoKovtool kComandos[] = {
    {"extenso", CmdExtenso, "extenso DIGITS          amount in cents in words"},
    {"valor", CmdValor, "valor DIGITS            amount in cents as money text"},
    {"path", CmdPath, "path PATH               the Linux path a system path resolves to"},
    {"erro", CmdErro, "erro CODE               name of a run-time error code"},
    {"msglog", CmdMsglog, "msglog [DIR]            the spooled message-log lines"},
    {"prod", CmdProd, "prod codigo|dados CODE  switch product code or product data; prod cria [SQL] builds the product database"},
    {"bandeira", CmdBandeira, "bandeira credito|debito CARD  brand code of a card number"},
    {"multibandeira", CmdMultibandeira, "multibandeira COMPANY CODE  1 when the company may route the product here"},
    {"link", CmdLink, "link OP HEX | table     link scrambling as hex (OP: scramble, unscramble, obfuscate, deobfuscate)"},
    {"audit", CmdAudit, "audit read FILE [--key KEYFILE] [--json]  the records of an audit file, deciphered"},
    {"mirror", CmdMirror, "mirror read FILE         the records of a mirror (export) file, card masked"},
    {"iso", CmdIso, "iso decode HEX|@FILE [--json] | iso encode MTI NNN=VALUE ...  host ISO 8583 messages"},
    {"ini", CmdIni, "ini get|int|set|sections|keys PATH [SECTION [KEY [VALUE]]]  ini values through the cache"},
    {"log", CmdLog, "log nsu NSU | nsu --slot S --day D | dump FILE [--json] | show NSU MMDD [--company C] [--json]  transaction log"},
};

int ErroUso(const char* formato, ...) {
  va_list ap;
  va_start(ap, formato);
  std::fputs("kovtool: ", stderr);
  std::vfprintf(stderr, formato, ap);
  std::fputc('\n', stderr);
  va_end(ap);
  return 2;
}

static void Uso() {
  std::fputs("usage: kovtool COMMAND [ARGS]\n", stderr);
  for (const auto& c : kComandos) std::fprintf(stderr, "  %s\n", c.uso);
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
  ErroUso("unknown command '%s'", argv[1]);
  Uso();
  return 2;
}
