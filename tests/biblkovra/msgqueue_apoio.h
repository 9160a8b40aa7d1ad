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
#include "support/fila.h"

class FilaTeste : public ::testing::Test {
 protected:
  void SetUp() override { NV_MsgQueueReinicia(); }
  void TearDown() override { NV_MsgQueueReinicia(); }
  DriveTemp drive_;
};

Bytes Padrao(size_t n, uint8_t semente);
std::string CaminhoFila(const char* nome);

// A bare socket bound at a queue's path (directories made), reading what a
// writer sends, whole datagrams with their header.
class LeitorCru : public SocketCru {
 public:
  explicit LeitorCru(const char* nome) : SocketCru(CaminhoFila(nome)) {}
};

// A bare socket sending forged datagrams to a queue's path.
class EscritorCru {
 public:
  explicit EscritorCru(const char* nome) : caminho_(CaminhoFila(nome)) {}
  void Envia(const Bytes& d) { ASSERT_TRUE(EnviaDatagramaCru(caminho_, d)) << caminho_; }
 private:
  std::string caminho_;
};
