// Helpers of the link tests.
#include "intercom_apoio.h"

#include <mutex>

#include "basico/intercom.h"
#include "basico/intercom_parada.h"
#include "basico/interpdv.h"
#include "basico/libcomdrivers.h"
#include "biblkovra/msgqueue.h"
#include "comms/link.h"
#include "nvpr/nv_process.h"
#include "services/trace.h"
#include "support/spool.h"

namespace {

std::mutex g_mutex_audit;
std::vector<RegistroAuditCapturado> g_audit;

int CapturaAudit(const NV_TraceVarAudit* reg) {
  std::lock_guard<std::mutex> trava(g_mutex_audit);
  const auto* p = static_cast<const uint8_t*>(reg->dados);
  g_audit.push_back({reg->tipo, Bytes(p, p + reg->tam)});
  return 0;
}

void ReiniciaTudo() {
  ReiniciaInterPdv();
  ReiniciaDrivers();
  ReiniciaInterCom();
  ReiniciaParada();
  NV_MsgQueueReinicia();
  ReiniciaLink();
  ReiniciaTrace();
  std::lock_guard<std::mutex> trava(g_mutex_audit);
  g_audit.clear();
}

std::string Caminho(const char* nome) {
  char c[256] = {};
  EXPECT_EQ(NV_MsgQueueCaminho(nome, c, sizeof c), 0) << nome;
  return c;
}

}  // namespace

void LinksTeste::SetUp() {
  ReiniciaTudo();
  InstalaGravadorAudit(CapturaAudit);
}

void LinksTeste::TearDown() { ReiniciaTudo(); }

std::vector<std::string> LinksTeste::LinhasMensagem() const { return LinhasSpoolMensagem(drive_); }

int LinksTeste::ContaLinhas(const std::string& trecho) const {
  int n = 0;
  for (const auto& l : LinhasMensagem())
    if (l.find(trecho) != std::string::npos) ++n;
  return n;
}

std::vector<RegistroAuditCapturado> LinksTeste::Audit() {
  std::lock_guard<std::mutex> trava(g_mutex_audit);
  return g_audit;
}

Bytes Embaralhado(Bytes b) {
  EmbaralhaLink(b.data(), b.size());
  return b;
}

Bytes Desembaralhado(Bytes b) {
  DesembaralhaLink(b.data(), b.size());
  return b;
}

Bytes Texto(const std::string& s) { return Bytes(s.begin(), s.end()); }

LeitorCru::LeitorCru(const char* nome) : sock_(Caminho(nome), true) {}

bool LeitorCru::Recebe(Bytes* carga, int espera_ms) {
  Bytes d;
  if (!sock_.Recebe(&d, espera_ms) || d.size() < 4) return false;
  EXPECT_EQ(Bytes(d.begin(), d.begin() + 4), (Bytes{0xFE, 0xFF, 0xFD, 250}));
  carga->assign(d.begin() + 4, d.end());
  return true;
}

bool EnviaCru(const char* nome, const Bytes& datagrama) {
  return EnviaDatagramaCru(Caminho(nome), datagrama);
}

void EnviaCruComEspera(const char* nome, const Bytes& datagrama) {
  for (int i = 0; i < 500; ++i) {
    if (EnviaCru(nome, datagrama)) return;
    NV_Sleep(10);
  }
  ADD_FAILURE() << "no reader on " << nome;
}
