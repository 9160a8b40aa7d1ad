// Building TabelaChaveLink: the marker, the secret from the key file when it
// is valid, the CRC-16 fill, and the DES key schedules of the eight DES
// positions, so that scrambling never schedules a key per message.  A key
// file that is present but refused is reported once to the message log and
// the table is built without a secret.
#include <cstdio>
#include <cstring>

#include <mbedtls/platform_util.h>

#include "comms/chave_link.h"
#include "comms/crc16.h"
#include "comms/link_estado.h"
#include "services/trace.h"

namespace {

EstadoLink g_link;

void LimpaEstado(EstadoLink& e) {
  for (size_t i = 0; i < kNumChavesDesLink; ++i) {
    mbedtls_des_free(&e.cifra[i]);
    mbedtls_des_free(&e.decifra[i]);
  }
  mbedtls_platform_zeroize(e.tabela, sizeof e.tabela);
  e.estado_chave = CHAVE_AUSENTE;
  e.motivo[0] = '\0';
}

void Constroi(EstadoLink& e) {
  ChaveLinkLida chave;
  LeChaveLink(kArquivoChaveLink, &chave);

  e.tabela[0] = kMarcadorTabelaLink;
  size_t inicio = 1;
  if (chave.estado == CHAVE_VALIDA) {
    std::memcpy(e.tabela + 1, chave.segredo, kTamSegredoLink);
    inicio = 1 + kTamSegredoLink;
  }
  mbedtls_platform_zeroize(chave.segredo, sizeof chave.segredo);
  uint16_t crc = Crc16Xmodem(0, e.tabela, inicio);
  for (size_t i = inicio; i < kTamTabelaChaveLink; ++i) {
    e.tabela[i] = static_cast<uint8_t>(crc & 0xffu);
    crc = Crc16Xmodem(crc, e.tabela + i, 1);
  }
  for (size_t i = 0; i < kNumChavesDesLink; ++i) {
    mbedtls_des_init(&e.cifra[i]);
    mbedtls_des_init(&e.decifra[i]);
    mbedtls_des_setkey_enc(&e.cifra[i], e.tabela + i * kPassoDesLink);
    mbedtls_des_setkey_dec(&e.decifra[i], e.tabela + i * kPassoDesLink);
  }

  e.estado_chave = chave.estado;
  std::snprintf(e.motivo, sizeof e.motivo, "%s", chave.motivo);
  if (chave.estado == CHAVE_RECUSADA) EscreveMensagem(chave.motivo);
  else if (chave.estado == CHAVE_VALIDA && chave.teste)
    EscreveMensagem("Atencao: chave de link de teste em uso");
}

}  // namespace

EstadoLink& LinkConstruido() {
  if (!g_link.construida.load(std::memory_order_acquire)) {
    std::lock_guard<std::mutex> g(g_link.trava);
    if (!g_link.construida.load(std::memory_order_relaxed)) {
      Constroi(g_link);
      g_link.construida.store(true, std::memory_order_release);
    }
  }
  return g_link;
}

const uint8_t* TabelaChaveLink() { return LinkConstruido().tabela; }

int EstadoChaveLink(char* motivo, size_t room) {
  EstadoLink& e = LinkConstruido();
  if (motivo != nullptr && room > 0) std::snprintf(motivo, room, "%s", e.motivo);
  return e.estado_chave;
}

void ReiniciaLink() {
  std::lock_guard<std::mutex> g(g_link.trava);
  if (g_link.construida.load(std::memory_order_relaxed)) LimpaEstado(g_link);
  g_link.construida.store(false, std::memory_order_release);
}
