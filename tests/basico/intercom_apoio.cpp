// Helpers of the link tests.
#include "intercom_apoio.h"

#include <filesystem>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "basico/intercom.h"
#include "basico/intercom_parada.h"
#include "basico/interpdv.h"
#include "basico/libcomdrivers.h"
#include "biblkovra/msgqueue.h"
#include "comms/link.h"
#include "nvpr/nv_process.h"
#include "services/trace.h"

namespace fs = std::filesystem;

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

sockaddr_un Endereco(const std::string& caminho) {
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  caminho.copy(a.sun_path, sizeof a.sun_path - 1);
  return a;
}

}  // namespace

void LinksTeste::SetUp() {
  ReiniciaTudo();
  InstalaGravadorAudit(CapturaAudit);
}

void LinksTeste::TearDown() { ReiniciaTudo(); }

std::vector<std::string> LinksTeste::LinhasMensagem() const {
  std::vector<std::string> linhas;
  const fs::path dir = drive_.caminho("kovra/tmp");
  if (!fs::exists(dir)) return linhas;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.path().extension() != ".msg") continue;
    const std::string reg = drive_.le("kovra/tmp/" + e.path().filename().string());
    if (reg.size() > 8) linhas.emplace_back(reg.c_str() + 8);
  }
  return linhas;
}

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

Bytes Datagrama(uint8_t tipo, const Bytes& carga) {
  Bytes d = {0xFE, 0xFF, 0xFD, tipo};
  d.insert(d.end(), carga.begin(), carga.end());
  return d;
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

LeitorCru::LeitorCru(const char* nome) {
  const std::string caminho = Caminho(nome);
  fs::create_directories(fs::path(caminho).parent_path());
  std::error_code ec;
  fs::remove(caminho, ec);
  fd_ = socket(AF_UNIX, SOCK_DGRAM, 0);
  const sockaddr_un a = Endereco(caminho);
  EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0) << caminho;
}

LeitorCru::~LeitorCru() { Fecha(); }

void LeitorCru::Fecha() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool LeitorCru::Recebe(Bytes* carga, int espera_ms) {
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, espera_ms) != 1) return false;
  Bytes d(70000);
  const ssize_t r = recv(fd_, d.data(), d.size(), 0);
  if (r < 4) return false;
  d.resize(static_cast<size_t>(r));
  EXPECT_EQ(Bytes(d.begin(), d.begin() + 4), (Bytes{0xFE, 0xFF, 0xFD, 250}));
  carga->assign(d.begin() + 4, d.end());
  return true;
}

bool EnviaCru(const char* nome, const Bytes& datagrama) {
  const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
  const sockaddr_un a = Endereco(Caminho(nome));
  const ssize_t r = sendto(fd, datagrama.data(), datagrama.size(), 0,
                           reinterpret_cast<const sockaddr*>(&a), sizeof a);
  close(fd);
  return r == static_cast<ssize_t>(datagrama.size());
}

void EnviaCruComEspera(const char* nome, const Bytes& datagrama) {
  for (int i = 0; i < 500; ++i) {
    if (EnviaCru(nome, datagrama)) return;
    NV_Sleep(10);
  }
  ADD_FAILURE() << "no reader on " << nome;
}
