// The tick: once a second, under the global lock, the timeout scan and the
// daily task, and on every 61st tick the re-read of the table-load block
// setting.
#include "kovtiquetal/fluxos.h"
#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "services/ini.h"

void ExecutaTick() {
  NV_Trava trava(&MutexGlobal);
  VerificaTimeouts();
  VerificaNovoDia();
  if (++Modulo.contador_ticks > kTicksEntreReleituras) {
    Modulo.contador_ticks = 0;
    BloqueioDaCargaTabela = LeIniInt("Tiquetal", "BloqueioDaCargaTabela", 0, kArqConfigModulo);
  }
}
