// The module core in-process: a temporary drive, a clean module state, and
// the PDV replies and host messages captured instead of going to the
// queues.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive.h"

using Bytes = std::vector<uint8_t>;

class ModuloTeste : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The replies sent to the PDVs and the host messages sent, in order.
  static std::vector<Bytes>& Respostas();
  static std::vector<Bytes>& EnviosHost();
  // The message-log lines spooled so far that contain `trecho`.
  int ContaLinhas(const std::string& trecho) const;

  DriveTemp drive_;
};

// A PDV request: header (type, sub-type, terminal, reply queue, company)
// and the data area.
Bytes PedidoPdv(uint8_t tipo, uint8_t subtipo, const Bytes& dados = {}, uint16_t formato = 0);
// The bytes of a text, without a terminator.
Bytes Texto(const std::string& s);
// Strings of a data area, each ended by its zero byte.
Bytes Strings(const std::vector<std::string>& strings);
