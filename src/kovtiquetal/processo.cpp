// The process entry: start-up, the banner, the two receiver threads, the
// tick loop, and the orderly stop that SIGTERM and SIGINT ask for.
#include "kovtiquetal/processo.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "basico/intercom_parada.h"
#include "basico/interpdv.h"
#include "basico/libcomdrivers.h"
#include "kovtiquetal/fluxos.h"
#include "kovtiquetal/modulo.h"
#include "nvpr/nv_time.h"
#include "services/depura.h"
#include "services/trace.h"

ThreadsModulo Threads;

namespace {

// Only the stop request, which is async-signal-safe.
void TrataSinal(int) { PedeParada(); }

void InstalaSinais() {
  struct sigaction sa{};
  sa.sa_handler = TrataSinal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

void IniciaReceptor(NV_Thread* t, NV_FuncaoThread corpo, const char* mensagem) {
  if (NV_ThreadStart(t, corpo, nullptr, 0, true) == 0) return;
  Depura("ERRO no beginthread");
  EscreveMensagem(mensagem);
  std::fflush(nullptr);
  std::_Exit(kSaidaThread);
}

void Junta(NV_Thread* t) {
  if (t->impl != nullptr) NV_ThreadJoin(t, nullptr);
}

void EscreveBanner() {
  GravaAudit(0, kBannerAtivacao, std::strlen(kBannerAtivacao), nullptr, 0, __FILE__, __LINE__);
  EscreveMensagem(kBannerAtivacao);
}

// Each thread ends after the work in hand: RxPdv after its request, RxHost
// after its message; then the driver channels write what they still hold.
void ParaModulo() {
  AcordaLeituraPdv();
  Junta(&Threads.rx_pdv);
  EncerraRecebeDriver();
  Junta(&Threads.rx_host);
  ReiniciaDrivers();
  Junta(&Threads.tab_estab);
  FechaComunicacaoPdv();
  EscreveMensagem("Modulo Tiquetal encerrado");
}

}  // namespace

void FormataTextoNovoDia() {
  char quando[32] = {};
  NV_FormataHoraLocal(quando, sizeof quando, "%m/%d/%y %H:%M:%S");
  std::snprintf(TextoNovoDia, sizeof TextoNovoDia, "Modulo Tiquetal rede 077 ativo desde %s",
                quando);
}

int ExecutaModulo() {
  PreparaParada();
  InstalaSinais();
  ReiniciaModulo();
  if (!Inicializa()) {
    ParaModulo();
    return 0;
  }
  // The master key check chooses the banner; the key store comes later.
  const int chaves = IniciaChaves(CodigoRede);
  FormataTextoNovoDia();
  if (chaves == 0) EscreveBanner();
  IniciaReceptor(&Threads.rx_pdv, RxPdv, "ERRO no beginthread (RxPdv)");
  IniciaReceptor(&Threads.rx_host, RxHost, "ERRO no beginthread (RxHost)");
  while (!EsperaParada(kIntervaloTickMs)) ExecutaTick();
  ParaModulo();
  return 0;
}
