// RxHost: reads one host message at a time from the host link and hands it
// to host-response processing under the global lock.  It ends when the
// host link's reception is closed.
#include <algorithm>
#include <cstring>

#include "basico/intercom.h"
#include "basico/libcomdrivers.h"
#include "hostmsg/iso_resposta.h"
#include "kovtiquetal/fluxos.h"
#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "services/depura.h"

void ProcessaMsgHost(const uint8_t* dados, size_t tam) {
  NV_Trava trava(&MutexGlobal);
  const size_t n = std::min(tam, kTamBufferHost);
  Modulo.tam_host = static_cast<uint16_t>(n);
  // Only the length: the message carries the card number and its track,
  // and the console may be captured to a file.
  Depura("RxHost: msg do Host de %u bytes", static_cast<unsigned>(n));
  if (!CarregaMsgResposta(dados, n)) return;
  leresp();
}

int RxHost(void*) {
  for (;;) {
    std::memset(Modulo.recebido_host, 0, sizeof Modulo.recebido_host);
    const size_t n = recebe_host(Modulo.recebido_host, sizeof Modulo.recebido_host);
    if (n == 0) {
      if (RecebeDriverEncerrado()) break;
      continue;
    }
    ProcessaMsgHost(Modulo.recebido_host, n);
  }
  std::memset(Modulo.recebido_host, 0, sizeof Modulo.recebido_host);
  return 0;
}
