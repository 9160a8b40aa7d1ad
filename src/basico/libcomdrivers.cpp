// The table of driver channel pairs, one per network number registered,
// and the calls on it: registering a number, sending, receiving, and the
// orderly stop of the channel threads.
#include "basico/libcomdrivers.h"

#include <cstring>
#include <new>

#include "basico/libcomdrivers_interno.h"
#include "nvpr/nv_error.h"

EstadoDrivers g_drivers;
NV_Mutex g_mutex_drivers;

namespace {

bool PreparaCanal(CanalDriver* c, int direcao, int rede, CanalDriver* par) {
  c->direcao = direcao;
  c->rede = rede;
  c->par = par;
  c->reabre = true;
  if (NomeFilaRede(direcao == CANAL_TX ? FILA_DRIVER_TX : FILA_DRIVER_RX, rede, c->nome,
                   sizeof c->nome) != NV_OK)
    return false;
  return NV_MutexCreate(&c->mutex) == NV_OK && NV_CondCreate(&c->chegou) == NV_OK &&
         NV_CondCreate(&c->liberou) == NV_OK;
}

void LiberaCanal(CanalDriver* c) {
  NV_CondDestroy(&c->chegou);
  NV_CondDestroy(&c->liberou);
}

bool IniciaThread(CanalDriver* c, NV_FuncaoThread corpo) {
  c->thread_ativa = NV_ThreadStart(&c->thread, corpo, c, 0, true) == NV_OK;
  return c->thread_ativa;
}

ParDrivers* AchaPar(int rede) {
  NV_Trava trava(&g_mutex_drivers);
  for (auto& p : g_drivers.pares)
    if (p->rede == rede) return p.get();
  return nullptr;
}

// Wakes every waiter of a channel so it can look at the stop flags.
void AcordaCanal(CanalDriver* c) {
  NV_Trava trava(&c->mutex);
  NV_CondBroadcast(&c->chegou);
  NV_CondBroadcast(&c->liberou);
  if (c->direcao == CANAL_RX && c->fila != nullptr) NV_MsgQueueWake(c->fila);
}

void JuntaThread(CanalDriver* c) {
  if (!c->thread_ativa) return;
  NV_ThreadJoin(&c->thread, nullptr);
  c->thread_ativa = false;
}

}  // namespace

bool PausaDrivers(int ms) {
  NV_Trava trava(&g_mutex_drivers);
  if (g_drivers.parando.load()) return true;
  if (g_drivers.pausa.impl == nullptr) NV_CondCreate(&g_drivers.pausa);
  NV_CondWaitMs(&g_drivers.pausa, &g_mutex_drivers, ms);
  return g_drivers.parando.load();
}

int IniciaDrivers(int rede) {
  NV_Trava trava(&g_mutex_drivers);
  for (size_t i = 0; i < g_drivers.pares.size(); ++i)
    if (g_drivers.pares[i]->rede == rede) return static_cast<int>(i);
  if (g_drivers.parando.load()) return -1;
  if (g_drivers.pausa.impl == nullptr && NV_CondCreate(&g_drivers.pausa) != NV_OK) return -1;
  std::unique_ptr<ParDrivers> par;
  try {
    par = std::make_unique<ParDrivers>();
  } catch (const std::bad_alloc&) {
    return -1;
  }
  par->rede = rede;
  if (!PreparaCanal(&par->tx, CANAL_TX, rede, &par->rx) ||
      !PreparaCanal(&par->rx, CANAL_RX, rede, &par->tx)) {
    LiberaCanal(&par->tx);
    LiberaCanal(&par->rx);
    return -1;
  }
  try {
    g_drivers.pares.push_back(std::move(par));
  } catch (const std::bad_alloc&) {
    LiberaCanal(&par->tx);
    LiberaCanal(&par->rx);
    return -1;
  }
  // The pair stays in the table even when a thread did not start, so the
  // stop joins the one that did.
  ParDrivers* p = g_drivers.pares.back().get();
  const bool tx = IniciaThread(&p->tx, ThreadEnvioDrivers);
  const bool rx = IniciaThread(&p->rx, ThreadRecepcaoDrivers);
  return tx && rx ? static_cast<int>(g_drivers.pares.size() - 1) : -1;
}

int EnviaDriver(int rede, const void* dados, size_t tam) {
  ParDrivers* p = AchaPar(rede);
  if (p == nullptr) return -1;
  if (tam > 0 && dados == nullptr) return 0;
  return PoeCanal(&p->tx, dados, tam, kEsperaEnviaDriverMs) == NV_OK ? static_cast<int>(tam) : 0;
}

int RecebeDriver(int rede, void* buf, size_t tam, int espera_ms) {
  ParDrivers* p = AchaPar(rede);
  if (p == nullptr) return -1;
  std::vector<uint8_t> msg;
  size_t n = 0;
  int64_t entrada = 0;
  if (TiraCanal(&p->rx, &msg, espera_ms, false, &n, &entrada) != NV_OK) return 0;
  int resultado = 0;
  if (n <= tam && buf != nullptr) {
    if (n > 0) std::memcpy(buf, msg.data(), n);
    resultado = static_cast<int>(n);
  }
  if (n > 0) std::memset(msg.data(), 0, n);
  return resultado;
}

void EncerraRecebeDriver() {
  g_drivers.recepcao_encerrada.store(true);
  NV_Trava trava(&g_mutex_drivers);
  for (auto& p : g_drivers.pares) AcordaCanal(&p->rx);
}

bool RecebeDriverEncerrado() { return g_drivers.recepcao_encerrada.load(); }

void ParaDrivers() {
  EncerraRecebeDriver();
  {
    NV_Trava trava(&g_mutex_drivers);
    g_drivers.parando.store(true);
    if (g_drivers.pausa.impl != nullptr) NV_CondBroadcast(&g_drivers.pausa);
    for (auto& p : g_drivers.pares) {
      AcordaCanal(&p->tx);
      AcordaCanal(&p->rx);
    }
  }
  // The table no longer grows once stopping, so it can be walked unlocked
  // while the threads (which take the lock in their pauses) end.
  for (auto& p : g_drivers.pares) {
    JuntaThread(&p->tx);
    JuntaThread(&p->rx);
  }
}

void ReiniciaDrivers() {
  ParaDrivers();
  NV_Trava trava(&g_mutex_drivers);
  for (auto& p : g_drivers.pares) {
    LiberaCanal(&p->tx);
    LiberaCanal(&p->rx);
  }
  g_drivers.pares.clear();
  if (g_drivers.pausa.impl != nullptr) NV_CondDestroy(&g_drivers.pausa);
  g_drivers.pausa.impl = nullptr;
  g_drivers.parando.store(false);
  g_drivers.recepcao_encerrada.store(false);
}
