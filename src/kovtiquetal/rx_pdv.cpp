// RxPdv: reads one PDV request at a time from the PDV link and handles it
// whole under the global lock.  It ends when the read is stopped.
#include <algorithm>
#include <cstring>

#include "basico/intercom_parada.h"
#include "basico/interpdv.h"
#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "kovtiquetal/protocolo_pdv.h"
#include "services/depura.h"

void ProcessaMsgPdv(const uint8_t* dados, size_t tam) {
  NV_Trava trava(&MutexGlobal);
  const size_t n = std::min(tam, kTamMsgPdv);
  std::memset(MsgPdv, 0, sizeof MsgPdv);
  if (n > 0) std::memcpy(MsgPdv, dados, n);
  TamMsgPdv = static_cast<uint16_t>(n);
  AtualizaDataHoje();
  Depura("RxPdv: msg PDV de %u bytes, tipo %u", static_cast<unsigned>(n),
         n > kPosTipoPdv ? MsgPdv[kPosTipoPdv] : 0u);
  DespachaMsgPdv();
}

int RxPdv(void*) {
  for (;;) {
    const size_t n = LeMsgPdv(Modulo.recebido_pdv, sizeof Modulo.recebido_pdv);
    if (n == 0) break;
    ProcessaMsgPdv(Modulo.recebido_pdv, n);
    std::memset(Modulo.recebido_pdv, 0, n);
    if (ParadaPedida()) break;
  }
  return 0;
}
