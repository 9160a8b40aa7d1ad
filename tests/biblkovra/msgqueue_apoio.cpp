// Helpers of the message-queue tests.
#include "msgqueue_apoio.h"

#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

sockaddr_un Endereco(const std::string& caminho) {
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  caminho.copy(a.sun_path, sizeof a.sun_path - 1);
  return a;
}

}  // namespace

Bytes Datagrama(uint8_t tipo, const Bytes& carga) {
  Bytes d = {0xFE, 0xFF, 0xFD, tipo};
  d.insert(d.end(), carga.begin(), carga.end());
  return d;
}

Bytes Padrao(size_t n, uint8_t semente) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(semente + i * 7 + (i >> 8));
  return b;
}

std::string CaminhoFila(const char* nome) {
  char c[256];
  EXPECT_EQ(NV_MsgQueueCaminho(nome, c, sizeof c), 0) << nome;
  return c;
}

LeitorCru::LeitorCru(const char* nome) {
  const std::string caminho = CaminhoFila(nome);
  std::filesystem::create_directories(std::filesystem::path(caminho).parent_path());
  fd_ = socket(AF_UNIX, SOCK_DGRAM, 0);
  const sockaddr_un a = Endereco(caminho);
  EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0) << caminho;
}

LeitorCru::~LeitorCru() { Fecha(); }

void LeitorCru::Fecha() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool LeitorCru::Recebe(Bytes* d, int espera_ms) {
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, espera_ms) != 1) return false;
  d->assign(70000, 0);
  const ssize_t r = recv(fd_, d->data(), d->size(), 0);
  if (r < 0) return false;
  d->resize(static_cast<size_t>(r));
  return true;
}

EscritorCru::EscritorCru(const char* nome) : caminho_(CaminhoFila(nome)) {
  fd_ = socket(AF_UNIX, SOCK_DGRAM, 0);
  int buf = 1 << 20;
  setsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &buf, sizeof buf);
}

EscritorCru::~EscritorCru() {
  if (fd_ >= 0) close(fd_);
}

void EscritorCru::Envia(const Bytes& d) {
  const sockaddr_un a = Endereco(caminho_);
  ASSERT_EQ(sendto(fd_, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a),
            static_cast<ssize_t>(d.size()));
}
