// Reading one PDV request: the queue read with its retries, the
// unscrambling and the audit record of kind 50 (typed card numbers masked).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "basico/interpdv_interno.h"
#include "basico/interpdv_mascara.h"
#include "comms/link.h"
#include "nvpr/nv_error.h"
#include "services/trace.h"

namespace {

constexpr uint8_t kAuditPedidoPdv = 50;

// A read that failed: the line in the message log and the audit trail.
void ReportaDescarte(int rc) {
  char linha[64];
  std::snprintf(linha, sizeof linha, "Erro - NV_MsgQueueRead retornou %d", rc);
  EscreveMensagem(linha);
  GravaAudit(0, linha, std::strlen(linha), nullptr, 0, __FILE__, __LINE__);
}

}  // namespace

size_t LeMsgPdv(uint8_t* buf, size_t tam) {
  EstadoInterPdv& e = g_interpdv;
  if (buf == nullptr || tam == 0 || e.leitor == nullptr) return 0;
  for (;;) {
    std::memset(buf, 0, tam);
    size_t lido = 0;
    const int rc = NV_MsgQueueRead(e.leitor, buf, tam, &lido);
    if (rc == NV_NEGREQUEST) continue;
    if (rc == NV_EINTR) return 0;   // woken to stop
    if (rc == NV_EMSGSIZE || rc == NV_EBADMSG) {
      ReportaDescarte(rc);
      continue;
    }
    if (rc != NV_OK) {
      ReportaDescarte(rc);
      FalhaFatalPdv("Erro critico de leitura em NV_MsgQueueRead");
    }
    // A datagram with a header and no bytes is no request; returning its
    // length 0 would end the reading thread.
    if (lido == 0) {
      EscreveMensagem("Erro - NV_MsgQueueRead retornou mensagem vazia");
      continue;
    }
    DesembaralhaLink(buf, lido);
    const size_t auditado = e.audit_completo.load() ? lido : std::min(lido, kTamAuditCabecalhoPdv);
    GravaAuditPdv(kAuditPedidoPdv, buf, auditado, __FILE__, __LINE__);
    return lido;
  }
}
