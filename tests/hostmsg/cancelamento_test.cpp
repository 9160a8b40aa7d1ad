// The cancellation request over a real transaction log in a temporary drive:
// the original transaction is found on the named day or the day before
// (also across a year), never two days back; amount, card and network must
// match; the newest record of a document wins.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/msg_envio.h"
#include "hostmsg_teste.h"
#include "kovtiquetal/registros.h"
#include "nvpr/nv_time.h"
#include "services/depura.h"
#include "services/ini.h"
#include "services/trace.h"
#include "support/drive.h"
#include "txlog/txlog.h"

namespace {

class CancelamentoTeste : public HostMsgTeste {
 protected:
  void SetUp() override {
    ReiniciaCacheIni();
    ReiniciaTrace();
    ReiniciaLog();
    HostMsgTeste::SetUp();
    DefinicaoLog def;
    DefinicaoLogModulo(&def);
    ASSERT_EQ(DefineLog(&def), 0);
  }
  void TearDown() override {
    HostMsgTeste::TearDown();
    ReiniciaLog();
    ReiniciaCacheIni();
    ReiniciaTrace();
    DefineTraceConsole(false);
  }

  // Logs an approved sale of the company on a day; its NSU.
  // The acquirer fills its field, up to all 12 bytes without a terminator.
  std::string GravaVenda(int ano, int mes, int dia, const char* doc, const char* valor = "1500",
                         uint8_t rede = 77, const char* adquirente = "41111111111") {
    FixaRelogio(ano, mes, dia, 11, 22, 33);
    RegistroLog r{};
    std::strcpy(r.Terminal, "PDV00001");
    std::strcpy(r.Empresa, "00000001");
    std::strcpy(r.DocHost, doc);
    std::strcpy(r.Cartao, "4111111111111111");
    std::memcpy(r.Valor, valor, strnlen(valor, sizeof r.Valor));
    std::strcpy(r.Validade, "2712");
    std::strcpy(r.Parcelas, "03");
    std::memcpy(r.Adquirente, adquirente, strnlen(adquirente, sizeof r.Adquirente));
    std::memcpy(r.ModoEntrada, "021", 3);
    r.Rede = rede;
    r.CodTrn = '0';
    r.Estado = 4;
    const SaidaLog saidas[] = {{LOG_SAIDA_NSU_TEXTO, r.Nsu},
                               {LOG_SAIDA_MMDD_TEXTO, r.Data},
                               {LOG_SAIDA_HORA_TEXTO, r.Hora},
                               {LOG_SAIDA_FIM, nullptr}};
    EXPECT_EQ(GravaLog("00000001", &r, nullptr, saidas), 0);
    return r.Nsu;
  }

  // A cancellation of the stripe (code "6") or typed (code "7") card.
  void PreparaCancelamento(char codigo, const char* doc, const char* ddmm = "",
                           const char* valor = "1500") {
    TransacaoPdv.CodTrn = codigo;
    TransacaoPdv.Entrada = codigo == '7' ? '2' : '1';
    std::strcpy(TransacaoPdv.CodProcessamento, "200030");
    std::strcpy(TransacaoPdv.Cartao,
                codigo == '7' ? "4111111111111111" : "4111111111111111=25122010000012345678");
    std::strcpy(TransacaoPdv.Valor, valor);
    std::strcpy(TransacaoPdv.Parcelas, "1");
    std::strcpy(TransacaoPdv.DocOriginal, doc);
    std::strcpy(TransacaoPdv.DataOriginal, ddmm);
  }

  DriveTemp drive_;
};

TEST_F(CancelamentoTeste, FoundOnTheDayBefore) {
  std::string nsu = GravaVenda(2026, 3, 9, "123456");
  GravaVenda(2026, 3, 10, "999999");
  FixaRelogio(2026, 3, 10, 15, 0, 0);
  PreparaCancelamento('6', "123456");
  ASSERT_EQ(Monta(MODO_CODIGO, "6"), 0) << console_;
  std::string tipo;
  Campos c = Separa(msg_, &tipo);
  EXPECT_EQ(tipo, "0400");
  EXPECT_EQ(c[2], "4111111111111111");
  EXPECT_EQ(c[22], "021");
  EXPECT_EQ(c[39], "00");
  EXPECT_EQ(c[64], "0000000000000030");
  EXPECT_EQ(c[67], "03");   // the original's instalments
  EXPECT_EQ(c[90], "0200" + nsu + "0309" "112233" "41111111111" "00000000000");
  EXPECT_EQ(c[125], "000123456");
  EXPECT_EQ(std::string(RegLog.NsuOriginal), nsu);
  EXPECT_STREQ(RegLog.Cartao, "4111111111111111");
  EXPECT_STREQ(RegLog.DocOriginal, "123456");
  EXPECT_EQ(std::string(RegLog.DataOriginal, 4), "0309");
  EXPECT_EQ(std::string(RegLog.HoraOriginal, 6), "112233");
  EXPECT_EQ(std::string(RegLog.ModoEntrada, 3), "021");
}

TEST_F(CancelamentoTeste, NotFoundTwoDaysBack) {
  GravaVenda(2026, 3, 8, "123456");
  FixaRelogio(2026, 3, 10, 15, 0, 0);
  PreparaCancelamento('6', "123456");
  EXPECT_EQ(Monta(MODO_CODIGO, "6"), 9);
  EXPECT_EQ(console_, "");
  // Named as the 9th, the 8th is its day before.
  PreparaCancelamento('6', "123456", "0903");
  EXPECT_EQ(Monta(MODO_CODIGO, "6"), 0) << console_;
  // A day that is not in the calendar.
  PreparaCancelamento('6', "123456", "3002");
  EXPECT_EQ(Monta(MODO_CODIGO, "6"), 9);
}

TEST_F(CancelamentoTeste, AcrossTheYear) {
  GravaVenda(2025, 12, 31, "777");
  FixaRelogio(2026, 1, 1, 0, 5, 0);
  PreparaCancelamento('6', "000777");
  EXPECT_EQ(Monta(MODO_CODIGO, "6"), 0) << console_;
  EXPECT_EQ(CamposMontados()[90].substr(10, 4), "1231");
}

TEST_F(CancelamentoTeste, MismatchGivesResult10) {
  GravaVenda(2026, 3, 10, "123456");
  struct Caso {
    const char* valor;
    const char* cartao;
    int resultado;
  };
  const Caso kCasos[] = {
      {"1501", "4111111111111111=2512", 10},   // one cent more
      {"001500", "4111111111111111=2512", 0},  // the same amount as a number
      {"1500", "4111111111111112=2512", 10},
  };
  DefineTraceConsole(true);
  for (const Caso& k : kCasos) {
    PreparaCancelamento('6', "123456", "", k.valor);
    std::strcpy(TransacaoPdv.Cartao, k.cartao);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Monta(MODO_CODIGO, "6"), k.resultado) << k.valor << " " << k.cartao;
    std::string erro = testing::internal::GetCapturedStderr();
    EXPECT_EQ(erro.find("Dados Invalido 1\n") != std::string::npos, k.resultado == 10);
  }
}

TEST_F(CancelamentoTeste, AnAmountFillingItsFieldIsReadWithinIt) {
  // 13 digits and no terminator, the expiry "2712" right behind them.
  GravaVenda(2026, 3, 10, "123456", "0000000001500");
  PreparaCancelamento('6', "123456");
  EXPECT_EQ(Monta(MODO_CODIGO, "6"), 0) << console_;
}

TEST_F(CancelamentoTeste, AnAcquirerTooLongForField90IsShownMasked) {
  GravaVenda(2026, 3, 10, "123456", "1500", 77, "411111111111");
  PreparaCancelamento('6', "123456");
  EXPECT_EQ(Monta(MODO_CODIGO, "6"), 6);
  EXPECT_EQ(console_, "Erro Consistencia: TAMANHO ERRADO\n"
                      "34  31  31  31  31  31  2a  2a  2a  2a  2a  2a  \n");
}

TEST_F(CancelamentoTeste, TypedCardTakesTheLoggedCard) {
  GravaVenda(2026, 3, 10, "123456");
  PreparaCancelamento('7', "123456");
  ASSERT_EQ(Monta(MODO_CODIGO, "7"), 0) << console_;
  Campos c = CamposMontados();
  EXPECT_EQ(c[2], "4111111111111111");
  EXPECT_EQ(c[67], "01");   // instalments as the parse left them
}

TEST_F(CancelamentoTeste, NetworkAndNewestRecord) {
  GravaVenda(2026, 3, 10, "123456", "1500", 12);   // another network's record
  FixaRelogio(2026, 3, 10, 15, 0, 0);
  PreparaCancelamento('#', "123456");
  EXPECT_EQ(Monta(MODO_CODIGO, "#"), 9);

  GravaVenda(2026, 3, 10, "123456", "1000");
  std::string nsu = GravaVenda(2026, 3, 10, "123456", "1500");
  PreparaCancelamento('#', "123456");
  ASSERT_EQ(Monta(MODO_CODIGO, "#"), 0) << console_;
  EXPECT_EQ(std::string(RegLog.NsuOriginal), nsu);
}

}  // namespace
