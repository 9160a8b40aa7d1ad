// EmbaralhaLink and DesembaralhaLink: the block walk over the link key
// table, DES at every 64th table offset and XOR elsewhere.
#include <cstring>

#include "comms/link_estado.h"

namespace {

constexpr size_t kBloco = 8;
// The offset after 504 starts again at 0.
constexpr size_t kVoltaTabela = kTamTabelaChaveLink - kBloco;

void XorBytes(uint8_t* dados, const uint8_t* chave, size_t n) {
  for (size_t i = 0; i < n; ++i) dados[i] ^= chave[i];
}

void Percorre(uint8_t* dados, size_t n, bool cifrando) {
  if (n == 0) return;
  EstadoLink& e = LinkConstruido();
  size_t t = 0;
  size_t pos = 0;
  for (; n - pos >= kBloco; pos += kBloco) {
    uint8_t* bloco = dados + pos;
    if (t % kPassoDesLink == 0) {
      mbedtls_des_context* ctx =
          cifrando ? &e.cifra[t / kPassoDesLink] : &e.decifra[t / kPassoDesLink];
      unsigned char saida[kBloco];
      mbedtls_des_crypt_ecb(ctx, bloco, saida);
      std::memcpy(bloco, saida, kBloco);
    } else {
      XorBytes(bloco, e.tabela + t, kBloco);
    }
    t = t == kVoltaTabela ? 0 : t + kBloco;
  }
  XorBytes(dados + pos, e.tabela + t, n - pos);
}

}  // namespace

void EmbaralhaLink(uint8_t* dados, size_t n) { Percorre(dados, n, true); }

void DesembaralhaLink(uint8_t* dados, size_t n) { Percorre(dados, n, false); }
