// Bare Unix datagram sockets for the queue tests: binding at a socket path,
// receiving whole datagrams within a bound, and sending forged ones.
#include "support/fila.h"

#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Larger than any datagram a queue carries, so none is cut short.
constexpr size_t kTamRecepcao = 70000;

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

SocketCru::SocketCru(const std::string& caminho, bool remove_antigo) {
  fs::create_directories(fs::path(caminho).parent_path());
  if (remove_antigo) {
    std::error_code ec;
    fs::remove(caminho, ec);
  }
  fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const sockaddr_un a = Endereco(caminho);
  EXPECT_EQ(bind(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0) << caminho;
}

SocketCru::~SocketCru() { Fecha(); }

void SocketCru::Fecha() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool SocketCru::Recebe(Bytes* d, int espera_ms) {
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, espera_ms) != 1) return false;
  d->assign(kTamRecepcao, 0);
  const ssize_t r = recv(fd_, d->data(), d->size(), 0);
  if (r < 0) return false;
  d->resize(static_cast<size_t>(r));
  return true;
}

bool EnviaDatagramaCru(const std::string& caminho, const Bytes& d) {
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const sockaddr_un a = Endereco(caminho);
  const ssize_t r =
      sendto(fd, d.data(), d.size(), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
  close(fd);
  return r == static_cast<ssize_t>(d.size());
}
