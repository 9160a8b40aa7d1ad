// Console debug lines, hexadecimal dumps and the fatal stops.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "services/depura.h"
#include "services/trace.h"
#include "support/drive.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class UtilDepura : public ::testing::Test {
 protected:
  void SetUp() override {
    DefineTraceConsole(false);
    ReiniciaTrace();
  }
  void TearDown() override {
    DefineTraceConsole(false);
    ReiniciaTrace();
  }
  DriveTemp drive_;
};

TEST_F(UtilDepura, DepuraFollowsTheSwitch) {
  CaptureStderr();
  Depura("linha %d", 1);
  DepuraHex("abc", 3, "titulo");
  EXPECT_EQ(GetCapturedStderr(), "");

  DefineTraceConsole(true);
  CaptureStderr();
  Depura("linha %d %s", 2, "ok");
  EXPECT_EQ(GetCapturedStderr(), "linha 2 ok\n");
}

TEST_F(UtilDepura, DepuraWritesLongLinesWhole) {
  DefineTraceConsole(true);
  const std::string longa(3000, 'x');
  CaptureStderr();
  Depura("%s|", longa.c_str());
  EXPECT_EQ(GetCapturedStderr(), longa + "|\n");
}

TEST_F(UtilDepura, DepuraHexLayout) {
  DefineTraceConsole(true);
  const unsigned char dados[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 'b',
                                 'c', 'd', 'e', 'f', 0x41, 0x42, 0x00, 0x7e, 0x7d, 0x20, 0xff};
  CaptureStderr();
  DepuraHex(dados, sizeof dados, "Msg");
  const std::string saida = GetCapturedStderr();
  const std::string esperado =
      "Msg - tam:23\n"
      "            30 31 32 33-34 35 36 37 38 39 61 62 63 64 65 66 0123456789abcdef   \n"
      "            41 42 00 7e-7d 20 ff                            AB..} .            \n";
  EXPECT_EQ(saida, esperado);

  CaptureStderr();
  DepuraHex(dados + 16, 3, nullptr);  // no title line; no "-" before a fourth byte
  EXPECT_EQ(GetCapturedStderr(),
            "            41 42 00                                        AB.                \n");
}

TEST_F(UtilDepura, DepuraHexLinesAre79Characters) {
  DefineTraceConsole(true);
  unsigned char dados[40];
  for (unsigned i = 0; i < sizeof dados; ++i) dados[i] = static_cast<unsigned char>(i * 7);
  CaptureStderr();
  DepuraHex(dados, sizeof dados, "");
  const std::string saida = GetCapturedStderr();
  size_t ini = saida.find('\n') + 1;  // after " - tam:40"
  EXPECT_EQ(saida.substr(0, ini), " - tam:40\n");
  int linhas = 0;
  for (size_t fim; (fim = saida.find('\n', ini)) != std::string::npos; ini = fim + 1, ++linhas)
    EXPECT_EQ(fim - ini, 79u);
  EXPECT_EQ(linhas, 3);
}

TEST_F(UtilDepura, FatalMessages) {
  EXPECT_STREQ(MensagemParadaFatal(1), "ERRO: Open do arquivo de log de transacoes");
  EXPECT_STREQ(MensagemParadaFatal(5), "ERRO: Alteracao do arquivo de log de transacoes");
  EXPECT_STREQ(MensagemParadaFatal(8), "ERRO: Gravacao do arquivo de erros");
  EXPECT_STREQ(MensagemParadaFatal(9), "ERRO: Criacao do Semaforo");
  for (int codigo : {0, 10, -1}) EXPECT_EQ(MensagemParadaFatal(codigo), nullptr);
}

TEST_F(UtilDepura, ParadaFatalOutsideOneToNineDoesNothing) {
  for (int codigo : {0, 10, -5}) ParadaFatal(codigo);
  EXPECT_FALSE(drive_.existe("kovra/tmp/arq_0000.msg"));
}

TEST_F(UtilDepura, ParadaFatalEndsWithItsCodeAfterTheMessageLog) {
  EXPECT_EXIT(ParadaFatal(5), ::testing::ExitedWithCode(5), "");
  const std::string reg = drive_.le("kovra/tmp/arq_0000.msg");
  ASSERT_EQ(reg.size(), kTamRegistroSpool);
  const std::string msg = "ERRO: Alteracao do arquivo de log de transacoes";
  EXPECT_EQ(reg.substr(8, msg.size()), msg);
  EXPECT_EQ(reg.substr(8 + msg.size()), std::string(256 - msg.size(), '\0'));
}

TEST_F(UtilDepura, ParadaFatalConsoleNoticeOnlyWithTheSwitchOn) {
  const std::string console = drive_.caminho("console.txt");
  const std::string limpa = "\033[22;0H" + std::string(80, ' ');
  struct Caso {
    bool ligado;
    std::string esperado;
  };
  const Caso casos[] = {
      {false, ""},
      {true, limpa + "\033[22;1H>> ERRO: ERRO: Criacao do Semaforo. Digite Enter." + limpa},
  };
  for (const Caso& c : casos) {
    EXPECT_EXIT(
        {
          if (std::freopen(console.c_str(), "w", stdout) == nullptr) std::_Exit(99);
          DefineTraceConsole(c.ligado);
          ParadaFatal(9);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_EQ(drive_.le("console.txt"), c.esperado) << "switch " << c.ligado;
  }
}

}  // namespace
