// DefineLog: the kinds of log, "DataInicio", the root, the GMT keys, the
// rules of the definition, and the operations refused before it.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "log_fixture.h"
#include "services/ini.h"

namespace {

using Definicao = LogTeste;

TEST_F(Definicao, KindsAndTheirMessages) {
  struct Caso {
    int tipo;
    const char* mensagem;
    bool empresas;
  };
  const Caso casos[] = {{1, nullptr, false},
                        {2, "Log por rede", false},
                        {3, "Log por empresa", true},
                        {4, "Log por empresa/rede", true},
                        {5, "Log por terminal", false}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.tipo);
    Configura("[LogRede_077]\nTipoLog=" + std::to_string(c.tipo) + "\n");
    ASSERT_EQ(Define(), 0);
    EXPECT_EQ(g_log.tipo, c.tipo);
    if (c.mensagem) {
      EXPECT_TRUE(TemMensagem(c.mensagem));
    }
    EXPECT_EQ(drive_.existe("kovra/log/empresas"), c.empresas);
    std::filesystem::remove_all(drive_.caminho("kovra/log"));
    std::filesystem::remove_all(drive_.caminho("kovra/tmp"));
  }
}

TEST_F(Definicao, KindComesFromNetworkSectionThenLogThenGeral) {
  Configura("[LogRede_077]\nTipoLog=2\n[Log]\nTipoLog=3\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_EQ(g_log.tipo, 2);
  Configura("[Log]\nTipoLog=3\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_EQ(g_log.tipo, 3);
  Configura("[Geral]\n");
  drive_.escreve("kovra/config/geral.001", "[Log]\nTipoLog=2\n");
  ReiniciaCacheIni();
  ASSERT_EQ(Define(), 0);
  EXPECT_EQ(g_log.tipo, 2);
  // geral.001 counts only with 1 or 2.
  drive_.escreve("kovra/config/geral.001", "[Log]\nTipoLog=4\n");
  ReiniciaCacheIni();
  EXPECT_NE(Define(), 0);
  EXPECT_TRUE(TemMensagem("TipoLog invalido"));
}

TEST_F(Definicao, InvalidKindFails) {
  for (int tipo : {0, 6, -2}) {
    Configura("[LogRede_077]\nTipoLog=" + std::to_string(tipo) + "\n");
    EXPECT_NE(Define(), 0) << tipo;
  }
  EXPECT_TRUE(TemMensagem("TipoLog invalido"));
  RegistroLog r = Venda();
  EXPECT_EQ(GravaLog("00000001", &r, nullptr, nullptr), LOG_GRAVA_SEM_DEFINICAO);
}

TEST_F(Definicao, StartDateOfPerCompanyFiles) {
  struct Caso {
    const char* data;
    bool valida;
    int convertida;
  };
  const Caso casos[] = {
      {"31022026", false, 0}, {"29022027", true, 20270229}, {"29022002", true, 20020229},
      {"01012002", true, 20020101}, {"31122001", false, 0}, {"32012010", false, 0},
      {"01132010", false, 0}, {"00012010", false, 0}, {"3104201", false, 0},
      {"310420100", false, 0}, {"3104201a", false, 0}, {"31042010", false, 0},
      {"31052010", true, 20100531},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.data);
    Configura(std::string("[LogRede_077]\nTipoLog=4\nDataInicio=") + c.data + "\n");
    EXPECT_EQ(Define() == 0, c.valida);
    if (c.valida) {
      EXPECT_EQ(g_log.data_inicio, c.convertida);
    } else {
      EXPECT_TRUE(TemMensagem("Data config log invalida"));
    }
  }
  // Kinds without per-company files do not check it.
  Configura("[LogRede_077]\nTipoLog=2\nDataInicio=31022026\n");
  EXPECT_EQ(Define(), 0);
}

TEST_F(Definicao, StartDateIsReadFromTheSectionThatGaveTheKind) {
  Configura("[Log]\nTipoLog=3\nDataInicio=15062025\n[LogRede_077]\nDataInicio=31022026\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_EQ(g_log.data_inicio, 20250615);
  Configura("[Log]\nDataInicio=31022026\n[LogRede_077]\nTipoLog=3\nDataInicio=15062025\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_EQ(g_log.data_inicio, 20250615);
}

TEST_F(Definicao, RootAndReservedSlots) {
  Configura("[Log]\nPathLogsKovra=\\dados\\logs\nHabilitaOffsetNsu=1\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_STREQ(g_log.raiz, "\\dados\\logs");
  EXPECT_EQ(g_log.offset_nsu, 15000);
  Configura("[Log]\nPathLogsKovra=/kovra/" + std::string(260, 'a') + "\n");
  EXPECT_NE(Define(), 0);
  Configura("[Log]\nHabilitaOffsetNsu=1\nOffsetNsu=90000\n");
  EXPECT_NE(Define(), 0);
}

TEST_F(Definicao, GmtZone) {
  Configura("", "[HorarioGMT]\nPermiteHorarioGMT=1\nTimeZone=13\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_TRUE(TemMensagem("TimeZone errado= 13"));
  EXPECT_FALSE(g_log.gmt);
  Configura("", "[HorarioGMT]\nPermiteHorarioGMT=1\nTimeZone=-3\n");
  ASSERT_EQ(Define(), 0);
  EXPECT_TRUE(TemMensagem("TimeZone= -3"));
  EXPECT_TRUE(g_log.gmt);
  EXPECT_EQ(g_log.fuso_seg, -3 * 3600);
}

TEST_F(Definicao, RulesOfTheDefinition) {
  DefinicaoLog base;
  DefinicaoLogModulo(&base);
  struct Caso {
    const char* nome;
    void (*muda)(DefinicaoLog*);
    bool valida;
  };
  const Caso casos[] = {
      {"module", [](DefinicaoLog*) {}, true},
      {"long extension", [](DefinicaoLog* d) { d->ExtensaoPrincipal = "dats"; }, false},
      {"no extension", [](DefinicaoLog* d) { d->ExtensaoPrincipal = nullptr; }, false},
      {"zero length", [](DefinicaoLog* d) { d->TamanhoPrincipal = 0; }, false},
      {"secondary length", [](DefinicaoLog* d) { d->TamanhoSecundario = 0; }, false},
      {"index past end", [](DefinicaoLog* d) { d->PosicaoIndiceSecundario = 211; }, false},
      {"index at end", [](DefinicaoLog* d) { d->PosicaoIndiceSecundario = 210; }, true},
      {"no filter", [](DefinicaoLog* d) { d->FiltroSecundario = nullptr; }, false},
      {"no secondary files",
       [](DefinicaoLog* d) {
         d->ExtensaoSecundaria = nullptr;
         d->FiltroSecundario = nullptr;
         d->TamanhoSecundario = 0;
       },
       true},
      {"protected area outside", [](DefinicaoLog* d) { d->PosicaoProtegida = 200; }, false},
      {"protected area capped", [](DefinicaoLog* d) { d->TamanhoProtegido = 50; }, true},
  };
  for (const auto& c : casos) {
    DefinicaoLog d = base;
    c.muda(&d);
    EXPECT_EQ(DefineLog(&d) == 0, c.valida) << c.nome;
  }
  EXPECT_EQ(g_log.tam_protegido, 20);
}

TEST_F(Definicao, OperationsBeforeDefinition) {
  RegistroLog r{};
  RegistroLogSecundario s{};
  EXPECT_EQ(GravaLog("00000001", &r, &s, nullptr), LOG_GRAVA_SEM_DEFINICAO);
  EXPECT_EQ(LeLog("00000001", &r, &s, "050001", nullptr), LOG_LE_SEM_DEFINICAO);
  EXPECT_EQ(RegravaLog("00000001", &r, &s, "050001", nullptr), LOG_REGRAVA_SEM_DEFINICAO);
  EXPECT_EQ(RecuperaPendentesLog(&r, &s, 1, [](void*, void*, const char*) { return 0; }),
            LOG_RECUPERA_SEM_DEFINICAO);
  VarreduraLog v;
  EXPECT_NE(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_FRENTE), 0);
  EXPECT_FALSE(drive_.existe("kovra/log"));
}

TEST_F(Definicao, PerTerminalKindRefusesEveryOperation) {
  Configura("[LogRede_077]\nTipoLog=5\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  EXPECT_EQ(GravaLog("00000001", &r, nullptr, nullptr), LOG_SEM_TERMINAL);
  EXPECT_EQ(LeLog("00000001", &r, nullptr, "050001", "0305"), LOG_SEM_TERMINAL);
  EXPECT_EQ(RegravaLog("00000001", &r, nullptr, "050001", "0305"), LOG_SEM_TERMINAL);
  EXPECT_FALSE(drive_.existe("kovra/log/LOG_0305.077"));
}

TEST_F(Definicao, MirrorRanges) {
  ASSERT_EQ(Define(), 0);
  ASSERT_EQ(DefineFaixasEspelho(417, nullptr, 0), 0);
  ASSERT_EQ(g_log.faixas.quantidade, 1);
  EXPECT_EQ(g_log.faixas.faixas[0].tamanho, 417);
  const FaixaEspelho pares[] = {{407, 10}};
  ASSERT_EQ(DefineFaixasEspelho(407, pares, 1), 0);
  ASSERT_EQ(g_log.faixas.quantidade, 2);
  EXPECT_EQ(g_log.faixas.faixas[0].inicio, 0);
  EXPECT_EQ(g_log.faixas.faixas[0].tamanho, 407);
  EXPECT_EQ(g_log.faixas.faixas[1].inicio, 407);
  EXPECT_EQ(g_log.faixas.faixas[1].tamanho, 10);
  // Ranges are cut at the record's end; empty or outside ones are dropped.
  const FaixaEspelho outros[] = {{400, 100}, {417, 5}, {10, 0}, {-1, 3}};
  ASSERT_EQ(DefineFaixasEspelho(0, outros, 4), 0);
  ASSERT_EQ(g_log.faixas.quantidade, 1);
  EXPECT_EQ(g_log.faixas.faixas[0].tamanho, 17);
  std::vector<FaixaEspelho> muitos(60, FaixaEspelho{1, 1});
  ASSERT_EQ(DefineFaixasEspelho(5, muitos.data(), muitos.size()), 0);
  EXPECT_EQ(g_log.faixas.quantidade, kMaxFaixasEspelho);
  ASSERT_EQ(Define(), 0);
  EXPECT_EQ(g_log.faixas.quantidade, 0);
}

}  // namespace
