// One driver channel's ring: up to 100 message descriptors over a 60000-byte
// data ring, copied in and out with wrap-around, under the channel's mutex,
// with the producer and the consumer waiting on the two conditions.  A side
// signals the other only when that side counts a waiting thread.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "basico/libcomdrivers_interno.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_time.h"

namespace {

constexpr size_t kPassoTrabalho = 1024;

void CopiaParaAnel(CanalDriver* c, size_t pos, const uint8_t* p, size_t n) {
  const size_t ate_fim = std::min(n, kTamAnelCanal - pos);
  std::memcpy(c->anel.data() + pos, p, ate_fim);
  std::memcpy(c->anel.data(), p + ate_fim, n - ate_fim);
}

// Copies out and clears the ring bytes of the message (it may carry card data).
void CopiaDoAnel(CanalDriver* c, size_t pos, uint8_t* p, size_t n) {
  const size_t ate_fim = std::min(n, kTamAnelCanal - pos);
  std::memcpy(p, c->anel.data() + pos, ate_fim);
  std::memcpy(p + ate_fim, c->anel.data(), n - ate_fim);
  std::memset(c->anel.data() + pos, 0, ate_fim);
  std::memset(c->anel.data(), 0, n - ate_fim);
}

bool TemEspaco(const CanalDriver* c, size_t n) {
  return c->quantidade < kMaxMsgsCanal && kTamAnelCanal - c->usados >= n;
}

bool PutParado() { return g_drivers.parando.load(); }

bool TiraParado(const CanalDriver* c) {
  return g_drivers.parando.load() ||
         (c->direcao == CANAL_RX && g_drivers.recepcao_encerrada.load());
}

void PreparaPrazo(NV_Timeout* t, int espera_ms) {
  if (espera_ms < 0) NV_TimeoutSemLimite(t);
  else NV_TimeoutInicia(t, espera_ms);
}

}  // namespace

int64_t SegundosCanal() { return NV_RelogioMonotonico() / 1000000000; }

int PoeCanal(CanalDriver* c, const void* dados, size_t n, int espera_ms) {
  NV_Trava trava(&c->mutex);
  NV_Timeout prazo;
  PreparaPrazo(&prazo, espera_ms);
  // A message larger than the whole ring would wait for room that never comes.
  bool sem_espaco = n > kTamAnelCanal;
  while (!sem_espaco && !TemEspaco(c, n)) {
    if (PutParado()) return kCanalParado;
    c->esperando_espaco++;
    const int rc = NV_CondWait(&c->liberou, &c->mutex, &prazo);
    c->esperando_espaco--;
    if (rc == NV_ETIMEDOUT && !TemEspaco(c, n)) sem_espaco = true;
  }
  if (PutParado()) return kCanalParado;
  if (sem_espaco) {
    std::fprintf(stderr, "\n%s %s\n", NV_NomeErro(NV_ENOBUFS), NV_NomeErro(NV_ETIMEDOUT));
    return NV_ENOBUFS;
  }
  const int i = (c->primeira + c->quantidade) % kMaxMsgsCanal;
  c->msgs[i] = {c->escrita, n, SegundosCanal()};
  if (n > 0) CopiaParaAnel(c, c->escrita, static_cast<const uint8_t*>(dados), n);
  c->escrita = (c->escrita + n) % kTamAnelCanal;
  c->usados += n;
  c->quantidade++;
  if (c->esperando_chegada > 0) NV_CondSignal(&c->chegou);
  return NV_OK;
}

int TiraCanal(CanalDriver* c, std::vector<uint8_t>* buf, int espera_ms, bool drena, size_t* n,
              int64_t* entrada_seg) {
  NV_Trava trava(&c->mutex);
  NV_Timeout prazo;
  PreparaPrazo(&prazo, espera_ms);
  for (;;) {
    if (TiraParado(c) && !(drena && c->quantidade > 0)) return kCanalParado;
    if (c->quantidade > 0) break;
    c->esperando_chegada++;
    const int rc = NV_CondWait(&c->chegou, &c->mutex, &prazo);
    c->esperando_chegada--;
    if (rc == NV_ETIMEDOUT && c->quantidade == 0 && !TiraParado(c)) return NV_ETIMEDOUT;
  }
  const DescritorMsgCanal d = c->msgs[c->primeira];
  if (buf->size() < d.tam) buf->resize(std::max(d.tam, buf->size() + kPassoTrabalho));
  if (d.tam > 0) CopiaDoAnel(c, d.pos, buf->data(), d.tam);
  c->msgs[c->primeira] = {};
  c->primeira = (c->primeira + 1) % kMaxMsgsCanal;
  c->quantidade--;
  c->usados -= d.tam;
  if (c->quantidade == 0) c->escrita = 0;
  *n = d.tam;
  *entrada_seg = d.entrada_seg;
  if (c->esperando_espaco > 0) NV_CondSignal(&c->liberou);
  return NV_OK;
}
