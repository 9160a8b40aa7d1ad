// Field 52, the PIN block, and field 63, which tells the host that one was
// sent.  The card's product decides: "S" at position 38 of its product entry
// requires a PIN (result 11 without one), "N" sends none even when the PDV
// typed one; otherwise the PIN goes out when the PDV sent a block.
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/consistencia.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/transacao_pdv.h"
#include "services/texto.h"

namespace {

constexpr size_t kPosFlagPin = 38;
constexpr size_t kBytesPin = 8;

bool SoHexadecimal(const char* t, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (!hex) return false;
  }
  return true;
}

// Two characters to a byte into 8 bytes of spaces; an odd last character is
// completed with the nibble F.
void DecodificaPin(const char* bloco, size_t n, unsigned char bytes[kBytesPin]) {
  std::memset(bytes, ' ', kBytesPin);
  size_t pares = n / 2;
  HexParaBytes(bloco, 2 * pares, bytes, kBytesPin);
  if (n % 2 != 0) {
    char ultimo[2] = {bloco[n - 1], 'F'};
    HexParaBytes(ultimo, 2, bytes + pares, 1);
  }
}

}  // namespace

int CampoBlocoPin(const Campo& c) {
  TransacaoPdv.ValorCampo63[0] = 0;
  const char* produto = TransacaoPdv.ProdutoCartao;
  char flag = produto != nullptr ? produto[kPosFlagPin] : 0;
  const char* bloco = TransacaoPdv.BlocoPin;
  size_t n = strnlen(bloco, sizeof TransacaoPdv.BlocoPin);
  if (flag == 'S' && n == 0) return RES_SENHA_INVALIDA;
  if (flag == 'N' || n == 0) return Declina(c);
  if (!SoHexadecimal(bloco, n)) {
    ErroConsistenciaCampo("DADOS INCONSISTENTES", c.numero, n, bloco);
    return RES_DADOS_INCONSISTENTES;
  }
  if (n > 2 * kBytesPin) {
    ErroConsistenciaCampo("TAMANHO ERRADO", c.numero, n, bloco);
    return RES_TAMANHO_ERRADO;
  }
  unsigned char bytes[kBytesPin];
  DecodificaPin(bloco, n, bytes);
  int r = MontaCampo(bytes, kBytesPin, c);
  explicit_bzero(bytes, sizeof bytes);
  if (r != 0) return r;
  std::memcpy(TransacaoPdv.ValorCampo63, "001", 4);
  return RES_MONTADA;
}

int CampoIndicadorPin(const Campo& c) {
  if (TransacaoPdv.ValorCampo63[0] == 0) return Declina(c);
  return EnviaTexto(c, TransacaoPdv.ValorCampo63, 3);
}
