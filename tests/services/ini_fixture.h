// Fixture of the ini cache tests: a fresh drive root, an empty cache, and
// small helpers to read values and listings back.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/ini.h"
#include "services/ini_cache.h"
#include "support/drive.h"

class IniTeste : public ::testing::Test {
 protected:
  static constexpr const char* kArq = "/kovra/config/teste.ini";   // as the system spells it
  static constexpr const char* kRel = "kovra/config/teste.ini";    // the same from the drive root

  void SetUp() override {
    ReiniciaCacheIni();
    drive.escreve("kovra/config/.keep", "");
  }
  void TearDown() override { ReiniciaCacheIni(); }

  // LeIniString into a 4096-byte buffer.
  static std::string Le(const char* secao, const char* chave, const char* padrao = "#",
                        const char* caminho = kArq) {
    char buf[4096];
    int n = LeIniString(secao, chave, padrao, buf, sizeof buf, caminho);
    return std::string(buf, static_cast<size_t>(n));
  }

  // The names of a listing, split by the result length (a name may be empty).
  static std::vector<std::string> Lista(const char* secao, const char* caminho = kArq) {
    char buf[4096];
    int n = LeIniString(secao, nullptr, "", buf, sizeof buf, caminho);
    std::vector<std::string> nomes;
    for (int i = 0; i < n;) {
      std::string nome(buf + i);
      i += static_cast<int>(nome.size()) + 1;
      nomes.push_back(nome);
    }
    return nomes;
  }

  static EstatisticaIni Estat() {
    EstatisticaIni e;
    LeEstatisticaIni(&e);
    return e;
  }

  DriveTemp drive;
};
