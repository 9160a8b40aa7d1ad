// Start-up recovery: which files of which directories are walked, the
// module's rule that turns records left in state 1 into state 6, and walks
// that end early or meet a damaged slot.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "log_fixture.h"

namespace {

namespace fs = std::filesystem;
using Recupera = LogTeste;

// What the recovery function was shown, in order.
struct Visto {
  std::string mmdd;
  std::string nsu;
  int estado;
};
std::vector<Visto> g_vistos;
int g_para_em = -1;   // ends the walk of a file after this many records

// The module's rule, recording what it sees.
int RegraModulo(void* principal, void*, const char* mmdd) {
  auto* r = static_cast<RegistroLog*>(principal);
  g_vistos.push_back({mmdd, std::string(r->Nsu), r->Estado});
  if (g_para_em >= 0 && static_cast<int>(g_vistos.size()) >= g_para_em) return 1;
  if (r->Rede != 77 || r->Estado != 1) return 0;
  std::memcpy(r->CodResposta, "00", 3);
  r->Estado = 6;
  return kRecuperaRegrava;
}

class RecuperaTeste : public LogTeste {
 protected:
  void SetUp() override {
    LogTeste::SetUp();
    g_vistos.clear();
    g_para_em = -1;
  }
  int Recupera(int por_diretorio = 1) {
    RegistroLog r{};
    RegistroLogSecundario s{};
    return RecuperaPendentesLog(&r, &s, por_diretorio, RegraModulo);
  }
  std::vector<std::string> Dias() const {
    std::vector<std::string> d;
    for (const auto& v : g_vistos)
      if (d.empty() || d.back() != v.mmdd) d.push_back(v.mmdd);
    return d;
  }
};

TEST_F(RecuperaTeste, SentRecordsAreMarkedToBeUndone) {
  ASSERT_EQ(Define(), 0);
  RegistroLog enviado = Venda();
  RegistroLog aprovado = Venda();
  aprovado.Estado = 2;
  RegistroLog outra_rede = Venda();
  outra_rede.Rede = 12;
  RegistroLogSecundario s = Frota();
  ASSERT_EQ(Grava(&enviado, &s, nullptr), 0);
  ASSERT_EQ(Grava(&aprovado, &s, nullptr), 0);
  ASSERT_EQ(Grava(&outra_rede, nullptr, nullptr), 0);
  ASSERT_EQ(Recupera(), 0);
  ASSERT_EQ(g_vistos.size(), 3u);
  RegistroLog lido{};
  RegistroLogSecundario lido_s{};
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050001", "0305"), 0);
  EXPECT_EQ(lido.Estado, 6);
  EXPECT_STREQ(lido.CodResposta, "00");
  EXPECT_STREQ(lido.Cartao, "4761739001010010");
  EXPECT_STREQ(lido_s.FrotaCampo1, "PLACA ABC1234");
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "050002", "0305"), 0);
  EXPECT_EQ(std::memcmp(&lido, &aprovado, sizeof lido), 0);
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "050003", "0305"), 0);
  EXPECT_EQ(lido.Estado, 1);
}

TEST_F(RecuperaTeste, ReservedSlotIsSeenFirst) {
  Configura("[Log]\nHabilitaOffsetNsu=1\nOffsetNsu=15000\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota();
  ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  ASSERT_EQ(Recupera(), 0);
  ASSERT_EQ(g_vistos.size(), 2u);
  EXPECT_EQ(g_vistos[0].nsu, "");
  EXPECT_EQ(g_vistos[0].estado, 0);
  EXPECT_EQ(g_vistos[1].nsu, "365001");
}

TEST_F(RecuperaTeste, NewYearPicksTheFileOfTheNewYear) {
  Configura("[LogRede_077]\nTipoLog=3\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  r.CodTrn = 1;
  FixaData(2025, 12, 30);
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000001"), 0);
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000002"), 0);
  FixaData(2026, 1, 2);
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000001"), 0);
  ASSERT_TRUE(drive_.existe("kovra/log/empresas/00000001/LOG_1230.dat"));
  ASSERT_TRUE(drive_.existe("kovra/log/empresas/00000001/LOG_0102.dat"));
  ASSERT_EQ(Recupera(), 0);
  // Company 1 walks LOG_0102 only; company 2, holding only LOG_1230, walks it.
  EXPECT_EQ(Dias(), (std::vector<std::string>{"0102", "1230"}));
  g_vistos.clear();
  ASSERT_EQ(Recupera(2), 0);
  EXPECT_EQ(Dias(), (std::vector<std::string>{"1230", "0102", "1230"}));
}

TEST_F(RecuperaTeste, RootFilesBeforeTheStartDate) {
  Configura("[LogRede_077]\nTipoLog=3\nDataInicio=04032026\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  FixaData(2026, 3, 3);
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);   // before the start date: the root
  FixaData(2026, 3, 5);
  r.Estado = 2;
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  ASSERT_TRUE(drive_.existe("kovra/log/LOG_0303.dat"));
  ASSERT_EQ(Recupera(), 0);
  EXPECT_EQ(Dias(), (std::vector<std::string>{"0305", "0303"}));
  RegistroLog lido{};
  ASSERT_EQ(LeLog("xxxxxxxx", &lido, nullptr, "030001", "0303"), 0);
  EXPECT_EQ(lido.Estado, 6);
  // Once five days lie after the start date the root is left alone.
  FixaData(2026, 3, 10);
  g_vistos.clear();
  ASSERT_EQ(Recupera(), 0);
  EXPECT_EQ(Dias(), (std::vector<std::string>{"0305"}));
}

TEST_F(RecuperaTeste, FunctionEndsTheWalkOfAFile) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota();
  for (int i = 0; i < 5; i++) ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  g_para_em = 2;
  ASSERT_EQ(Recupera(), 0);
  EXPECT_EQ(g_vistos.size(), 2u);
}

TEST_F(RecuperaTeste, DamagedSecondarySlotDoesNotStopTheWalk) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);   // names no secondary slot
  ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  ASSERT_EQ(Recupera(), 0);
  ASSERT_EQ(g_vistos.size(), 2u);
  RegistroLog lido{};
  for (const char* nsu : {"050001", "050002"}) {
    ASSERT_EQ(LeLog("00000001", &lido, nullptr, nsu, "0305"), 0);
    EXPECT_EQ(lido.Estado, 6) << nsu;
  }
}

}  // namespace
