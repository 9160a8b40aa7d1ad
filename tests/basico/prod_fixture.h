// A clean registry on a temporary drive for each test, with helpers that
// write the brand file and the multi-brand files and load network 77 as the
// module does at start.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "basico/prodkovra.h"
#include "services/ini.h"
#include "support/drive.h"

class RegistroTeste : public testing::Test {
 protected:
  void SetUp() override {
    ReiniciaCacheIni();
    ReiniciaProdutos();
  }
  void TearDown() override {
    ReiniciaProdutos();
    ReiniciaCacheIni();
  }

  // CarregaProdutos(rede) and the mode flag; what it printed goes to erros_.
  void Carrega(int rede = 77, int modo = 1) {
    testing::internal::CaptureStderr();
    CarregaProdutos(rede);
    erros_ = testing::internal::GetCapturedStderr();
    DefineModoProdutos(modo);
  }

  // The brand file with the given section bodies ("key=value" lines).
  void EscreveBandeiras(const std::string& credito, const std::string& debito = "",
                        const char* habilita = "1") {
    drive_.escreve("kovra/config/bandeiras.ini", std::string("[Geral]\nHabilitaBandeira=") + habilita +
                                                     "\n[Credito]\n" + credito + "[Debito]\n" + debito);
  }

  DriveTemp drive_;
  std::string erros_;
};
