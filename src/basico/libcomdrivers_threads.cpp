// The two threads of a driver channel pair.  The sender takes each message
// of the transmit channel and writes it to the drivers' transmit queue,
// opening the queue when needed and retrying every 250 ms until the message
// is 20 seconds old.  The receiver creates the module's receive queue,
// reads it and puts each message in the receive channel.  Neither holds a
// channel lock while a switch queue is read or written.
#include <cstring>
#include <vector>

#include "basico/libcomdrivers_interno.h"
#include "nvpr/nv_error.h"
#include "services/trace.h"

namespace {

void PublicaFila(CanalDriver* c, NV_MsgQueue* f) {
  NV_Trava trava(&c->mutex);
  c->fila = f;
}

// Unpublishes and closes the channel's queue; under the channel mutex, so
// that a wake from ParaDrivers never meets a freed handle.
void FechaFila(CanalDriver* c) {
  NV_Trava trava(&c->mutex);
  if (c->fila != nullptr) NV_MsgQueueClose(c->fila);
  c->fila = nullptr;
  c->reabre = true;
}

// Writes one message, retrying until it goes, it is too old, or the
// channels stop (then it is tried once).
void EscreveMensagemDriver(CanalDriver* c, const uint8_t* p, size_t n, int64_t entrada) {
  for (;;) {
    if (SegundosCanal() - entrada > kIdadeMaximaTxSeg) return;
    if (c->reabre) {
      NV_MsgQueue* f = nullptr;
      if (NV_MsgQueueOpen(&f, c->nome) == NV_OK) {
        PublicaFila(c, f);
        c->reabre = false;
      }
    }
    if (!c->reabre) {
      if (NV_MsgQueueWrite(c->fila, p, n) == NV_OK) return;
      FechaFila(c);
    }
    if (g_drivers.parando.load() || PausaDrivers(kIntervaloTxMs)) return;
  }
}

// Creates the receive queue and publishes it; false when stopping.
bool CriaFilaRecepcao(CanalDriver* c) {
  NV_MsgQueue* f = nullptr;
  if (NV_MsgQueueCreate(&f, c->nome) != NV_OK) return !PausaDrivers(kIntervaloRxMs);
  NV_Trava trava(&c->mutex);
  // A stop asked for before the queue was published has woken nobody.
  if (g_drivers.parando.load()) {
    NV_MsgQueueClose(f);
    return false;
  }
  c->fila = f;
  c->reabre = false;
  return true;
}

}  // namespace

int ThreadEnvioDrivers(void* dados) {
  CanalDriver* c = static_cast<CanalDriver*>(dados);
  std::vector<uint8_t> msg;
  size_t n = 0;
  int64_t entrada = 0;
  while (TiraCanal(c, &msg, -1, true, &n, &entrada) == NV_OK) {
    EscreveMensagemDriver(c, msg.data(), n, entrada);
    if (n > 0) std::memset(msg.data(), 0, n);
  }
  FechaFila(c);
  return 0;
}

int ThreadRecepcaoDrivers(void* dados) {
  CanalDriver* c = static_cast<CanalDriver*>(dados);
  std::vector<uint8_t> buf(kTamAnelCanal);
  bool primeira = true;
  while (!g_drivers.parando.load()) {
    if (c->reabre) {
      if (!CriaFilaRecepcao(c)) break;
      if (c->reabre) continue;
    }
    size_t n = 0;
    const int rc = NV_MsgQueueRead(c->fila, buf.data(), buf.size(), &n);
    if (rc == NV_EINTR) continue;   // woken: the loop looks at the stop
    if (rc == NV_NEGREQUEST) {
      PausaDrivers(kIntervaloRxMs);
      continue;
    }
    // A malformed or oversized message has already been dropped by the
    // queue; the queue itself is sound and the messages behind it are kept.
    if (rc == NV_EBADMSG || rc == NV_EMSGSIZE) {
      EscreveMensagemF("Erro - NV_MsgQueueRead (%s) retornou %d", c->nome, rc);
      continue;
    }
    if (rc != NV_OK) {
      FechaFila(c);
      PausaDrivers(kIntervaloRxMs);
      continue;
    }
    if (primeira) {
      EscreveMensagem("Via MsgQueue");
      primeira = false;
    }
    const int rc_poe = PoeCanal(c, buf.data(), n, -1);
    std::memset(buf.data(), 0, n);
    if (rc_poe == kCanalParado) break;
  }
  FechaFila(c);
  return 0;
}
