// Terminal close: sub-type 2 is answered "Terminal Fechado", sub-type 4 is
// not answered.  The module keeps no state per terminal, so nothing else
// changes and the company is not looked up.
#include "basico/interpdv.h"
#include "kovtiquetal/fluxos.h"
#include "kovtiquetal/modulo.h"
#include "kovtiquetal/protocolo_pdv.h"

void FechaTerminal() {
  if (MsgPdv[kPosSubTipoPdv] != kSubFechaTerminal) return;
  const uint16_t n = MontaRespostaPdv(kResultadoOk, "Terminal Fechado", "00");
  EnviaRespostaPdv(RespostaPdv, n);
}
