// Bare Unix datagram sockets that play the other end of a message queue in
// tests, so that the queue framing on the wire is seen and forged byte for
// byte.  The caller gives the queue's socket path (NV_MsgQueueCaminho).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// One datagram of the queue framing: FE FF FD, the type, the payload.
Bytes Datagrama(uint8_t tipo, const Bytes& carga);

// A socket bound at a queue's socket path (its directories made), playing
// the reader of that queue.
class SocketCru {
 public:
  // With `remove_antigo` a file left at the path is removed before binding.
  explicit SocketCru(const std::string& caminho, bool remove_antigo = false);
  ~SocketCru();
  SocketCru(const SocketCru&) = delete;
  SocketCru& operator=(const SocketCru&) = delete;
  // The next whole datagram, waiting at most espera_ms (a test that fails
  // must not hang); false when none came.
  bool Recebe(Bytes* d, int espera_ms = 2000);
  // Closes the socket and leaves its file: a reader that died.
  void Fecha();

 private:
  int fd_ = -1;
};

// Sends one datagram from a fresh socket to the socket at `caminho`; false
// when it was not delivered whole (no reader there, for one).
bool EnviaDatagramaCru(const std::string& caminho, const Bytes& d);
