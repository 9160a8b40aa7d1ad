// Helpers of the message-queue tests: a drive with default queue bounds,
// and bare Unix datagram sockets that play the other end of a queue so the
// framing can be seen and forged byte for byte.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "biblkovra/msgqueue.h"
#include "support/drive.h"

using Bytes = std::vector<uint8_t>;

class FilaTeste : public ::testing::Test {
 protected:
  void SetUp() override { NV_MsgQueueReinicia(); }
  void TearDown() override { NV_MsgQueueReinicia(); }
  DriveTemp drive_;
};

// One datagram: magic, type, payload.
Bytes Datagrama(uint8_t tipo, const Bytes& carga);
Bytes Padrao(size_t n, uint8_t semente);
std::string CaminhoFila(const char* nome);

// A bare socket bound at a queue's path (directories made), reading what a
// writer sends.
class LeitorCru {
 public:
  explicit LeitorCru(const char* nome);
  ~LeitorCru();
  // The next datagram, waiting at most 2 s (a test that fails must not hang);
  // false when none came.
  bool Recebe(Bytes* d, int espera_ms = 2000);
  void Fecha();   // closes the socket, leaving its file (a dead reader)
  int fd() const { return fd_; }
 private:
  int fd_ = -1;
};

// A bare socket sending forged datagrams to a queue's path.
class EscritorCru {
 public:
  explicit EscritorCru(const char* nome);
  ~EscritorCru();
  void Envia(const Bytes& d);
 private:
  int fd_ = -1;
  std::string caminho_;
};
