// Sending one PDV reply: the routing number, the scrambled frame, and the
// attempts under the link mutex that reopen the reply queue after a failed
// write (the switch's PDV side may have been restarted).
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "basico/interpdv_interno.h"
#include "basico/interpdv_mascara.h"
#include "comms/link.h"
#include "nvpr/nv_error.h"
#include "services/trace.h"

namespace {

constexpr uint8_t kAuditRespostaPdv = 49;
constexpr size_t kPosRota = 12;
constexpr size_t kTamCampoRota = 3;

// One attempt: reopen when broken, then write.  True when the frame went.
bool TentaEscrever(EstadoInterPdv& e, const uint8_t* quadro, size_t n) {
  if (e.quebrado) {
    if (NV_MsgQueueOpen(&e.escritor, e.nome_escrita) != 0) {
      e.escritor = nullptr;
      return false;
    }
    e.quebrado = false;
  }
  const int rc = NV_MsgQueueWrite(e.escritor, quadro, n);
  if (rc == NV_OK) return true;
  EscreveMensagemF("Erro - DosWriteQueue %d", rc);
  NV_MsgQueueClose(e.escritor);
  e.escritor = nullptr;
  e.quebrado = true;
  return false;
}

}  // namespace

uint16_t RotaRespostaPdv(const uint8_t* msg, size_t tam) {
  unsigned valor = 0;
  for (size_t i = kPosRota; i < kPosRota + kTamCampoRota && i < tam; ++i) {
    if (msg[i] < '0' || msg[i] > '9') break;
    valor = valor * 10 + (msg[i] - '0');
  }
  return static_cast<uint16_t>(valor);
}

void EnviaRespostaPdv(uint8_t* msg, size_t tam) {
  if (msg == nullptr || tam == 0) return;
  EstadoInterPdv& e = g_interpdv;
  GravaAuditPdv(kAuditRespostaPdv, msg, tam, __FILE__, __LINE__);

  if (SumidouroRespostaPdv s = e.sumidouro.load()) {
    s(msg, tam);
    std::memset(msg, 0, tam);
    return;
  }

  std::vector<uint8_t> quadro;
  try {
    quadro.resize(tam + kTamRotaPdv);
  } catch (const std::bad_alloc&) {
    std::memset(msg, 0, tam);
    FalhaFatalPdv("Erro - NV_MemMallocEx");
  }
  const uint16_t rota = RotaRespostaPdv(msg, tam);
  quadro[0] = static_cast<uint8_t>(rota & 0xFF);
  quadro[1] = static_cast<uint8_t>(rota >> 8);
  std::memcpy(quadro.data() + kTamRotaPdv, msg, tam);
  EmbaralhaLink(quadro.data(), quadro.size());

  {
    NV_Trava trava(&g_mutex_escrita_pdv);
    for (int i = 0; i < e.tentativas; ++i) {
      if (TentaEscrever(e, quadro.data(), quadro.size())) break;
      if (i + 1 < e.tentativas) NV_Sleep(e.intervalo_ms);
    }
  }
  std::memset(quadro.data(), 0, quadro.size());
  std::memset(msg, 0, tam);
}
