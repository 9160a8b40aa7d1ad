// Helpers of the link tests: a drive with a fresh link state, the key file
// written with a chosen mode, and the spooled message-log lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive.h"

class LinkTeste : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the key file with these lines and permission bits.
  void EscreveChave(const std::string& conteudo, unsigned modo = 0600);
  // A valid key file's text for a 15-byte secret.
  static std::string TextoChave(const uint8_t* segredo, bool teste = false);
  // The texts of the message-log lines spooled so far.
  std::vector<std::string> LinhasMensagem() const;

  DriveTemp drive_;
};

std::string Hex(const uint8_t* p, size_t n);
