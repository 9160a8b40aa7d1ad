// kovtool link: the link scrambling of this module for interop checks with
// the switch.  "scramble", "unscramble", "obfuscate" and "deobfuscate" take
// the bytes as hex and print the result as lower-case hex; "table" prints
// the 512 bytes of the link key table on one line, built from the key file
// under the drive root exactly as the module builds it.
#include <cstdio>
#include <cstring>
#include <vector>

#include "comandos.h"
#include "comms/chave_link.h"
#include "comms/link.h"
#include "comms/ofusca.h"
#include "services/texto.h"

namespace {

using Transformacao = void (*)(uint8_t* dados, size_t n);

struct OperacaoLink {
  const char* nome;
  Transformacao funcao;
};

const OperacaoLink kOperacoes[] = {
    {"scramble", EmbaralhaLink},
    {"unscramble", DesembaralhaLink},
    {"obfuscate", OfuscaPayload},
    {"deobfuscate", DesofuscaPayload},
};

void ImprimeHex(const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) std::printf("%02x", p[i]);
  std::printf("\n");
}

// A key file that is there but refused is worth a line: the switch would
// then disagree with this table.
void AvisaChaveRecusada() {
  char motivo[256];
  if (EstadoChaveLink(motivo, sizeof motivo) == CHAVE_RECUSADA)
    std::fprintf(stderr, "kovtool: %s\n", motivo);
}

}  // namespace

int CmdLink(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "table") == 0) {
    if (argc != 2) return ErroUso("link table takes no argument");
    AvisaChaveRecusada();
    ImprimeHex(TabelaChaveLink(), kTamTabelaChaveLink);
    return 0;
  }
  if (argc != 3)
    return ErroUso("link takes scramble|unscramble|obfuscate|deobfuscate HEX, or table");
  for (const auto& op : kOperacoes) {
    if (std::strcmp(argv[1], op.nome) != 0) continue;
    const size_t n_hex = std::strlen(argv[2]);
    std::vector<uint8_t> dados(n_hex / 2);
    if (HexParaBytes(argv[2], n_hex, dados.data(), dados.size()) != 0)
      return ErroUso("link %s: HEX must be an even number of hexadecimal digits", op.nome);
    AvisaChaveRecusada();
    op.funcao(dados.data(), dados.size());
    ImprimeHex(dados.data(), dados.size());
    return 0;
  }
  return ErroUso("link: unknown operation '%s' (scramble, unscramble, obfuscate, deobfuscate, table)",
                 argv[1]);
}
