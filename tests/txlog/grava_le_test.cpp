// GravaLog and LeLog: slots and NSUs of a day file, the header slot, the
// reserved slots, the outputs, the files of each kind, the dates LeLog
// derives, and the refusals of bad files and arguments.
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "log_fixture.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_time.h"
#include "txlog/nsu.h"

namespace {

namespace fs = std::filesystem;
using GravaLe = LogTeste;

constexpr int kP = kTamRegistroLog;
constexpr int kS = kTamRegistroLogSecundario;

// A primary day file made by hand: the header slot, `slots` - 1 more zero
// slots, and `sobra` bytes of a cut-off slot.
void ArquivoFeito(const DriveTemp& d, const std::string& rel, int64_t slots, int sobra = 0,
                  const char* cabecalho = "05/03/26 0200") {
  d.escreve(rel, std::string(cabecalho) + std::string(1, '\0'));
  fs::resize_file(d.caminho(rel), slots * kP + sobra);
}

TEST_F(GravaLe, FirstRecordOfTheDay) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota();
  std::string nsu;
  ASSERT_EQ(Grava(&r, &s, &nsu), 0);
  EXPECT_EQ(nsu, "050001");
  EXPECT_STREQ(r.Data, "0305");
  EXPECT_STREQ(r.Hora, "100000");
  EXPECT_EQ(LeU32(r.IndiceSecundario), 1u);

  const std::string p = Bytes("kovra/log/LOG_0305.dat");
  ASSERT_EQ(p.size(), 2u * kP);
  EXPECT_EQ(p.substr(0, 14), std::string("05/03/26 0200") + '\0');
  EXPECT_EQ(p.find_first_not_of('\0', 14), static_cast<size_t>(kP));
  // The card number is stored scrambled.
  EXPECT_EQ(p[kP + kPosCartao], 'e');
  EXPECT_EQ(p.find("4761739001010010"), std::string::npos);
  EXPECT_EQ(r.Cartao[0], '4');   // the caller's record is left in clear
  const std::string x = Bytes("kovra/log/EXT_0305.077");
  ASSERT_EQ(x.size(), 2u * kS);
  EXPECT_EQ(x.substr(kS, 13), "PLACA ABC1234");

  RegistroLog lido{};
  RegistroLogSecundario lido_s{};
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050001", "0305"), 0);
  EXPECT_EQ(std::memcmp(&lido, &r, kP), 0);
  EXPECT_EQ(std::memcmp(&lido_s, &s, kS), 0);
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050001", nullptr), 0);
  EXPECT_EQ(std::memcmp(&lido, &r, kP), 0);

  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "050002");
  EXPECT_EQ(LeU32(r.IndiceSecundario), 0u);
  EXPECT_EQ(Bytes("kovra/log/EXT_0305.077").size(), 2u * kS);
}

TEST_F(GravaLe, ReservedSlotsMoveTheFirstNsu) {
  Configura("[Log]\nHabilitaOffsetNsu=1\nOffsetNsu=15000\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  std::string nsu;
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "365001");
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/LOG_0305.dat")), 15002u * kP);
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/EXT_0305.077")), 1u * kS);
  RegistroLog lido{};
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "365001", nullptr), 0);
  EXPECT_STREQ(lido.Cartao, "4761739001010010");
}

TEST_F(GravaLe, EveryOutputCode) {
  Configura("", "[HorarioGMT]\nPermiteHorarioGMT=1\nTimeZone=3\n");
  ASSERT_EQ(Define(), 0);
  FixaData(2026, 3, 5, 10, 11, 12);
  struct Caso {
    int codigo;
    std::string valor;
  };
  const Caso casos[] = {
      {1, "050001"},     {2, std::string("050001", 7)},   {3, "0305"},
      {4, std::string("0305", 5)},   {5, "260305"},   {6, std::string("260305", 7)},
      {7, "20260305"},   {8, std::string("20260305", 9)}, {9, "101112"},
      {10, std::string("101112", 7)}, {11, "0305101112"}, {12, std::string("2026", 5)},
      {13, "131112"},    {14, std::string("131112", 7)},  {15, "0305131112"},
      {16, std::string("\x05\x00\x01", 3)}, {17, "\x03\x05"}, {18, "\x10\x11\x12"},
      {19, std::string("\x03\x05\x10\x11\x12", 5)}, {20, "12KX"}, {21, std::string("12KX", 5)},
  };
  char destinos[21][16];
  std::memset(destinos, '#', sizeof destinos);
  SaidaLog saidas[24];
  int n = 0;
  for (const auto& c : casos) saidas[n++] = {c.codigo, destinos[c.codigo - 1]};
  saidas[n++] = {22, destinos[0]};       // unknown code: skipped
  saidas[n++] = {1, nullptr};            // no destination: skipped
  saidas[n] = {LOG_SAIDA_FIM, nullptr};
  RegistroLog r = Venda();
  ASSERT_EQ(GravaLog("00000001", &r, nullptr, saidas), 0);
  for (const auto& c : casos) {
    const std::string obtido(destinos[c.codigo - 1], c.valor.size());
    EXPECT_EQ(obtido, c.valor) << "code " << c.codigo;
    EXPECT_EQ(destinos[c.codigo - 1][c.valor.size()], '#') << "code " << c.codigo;
  }
}

TEST_F(GravaLe, OutputsInsideTheRecordReachTheFile) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota();
  const SaidaLog saidas[] = {{LOG_SAIDA_NSU_TEXTO, r.Nsu},
                             {LOG_SAIDA_NSU_TEXTO, s.NsuCopia},
                             {LOG_SAIDA_MMDDHHMMSS, s.DataHoraCopia},
                             {LOG_SAIDA_FIM, nullptr}};
  ASSERT_EQ(GravaLog("00000001", &r, &s, saidas), 0);
  RegistroLog lido{};
  RegistroLogSecundario lido_s{};
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050001", "0305"), 0);
  EXPECT_STREQ(lido.Nsu, "050001");
  EXPECT_STREQ(lido_s.NsuCopia, "050001");
  EXPECT_EQ(std::string(lido_s.DataHoraCopia, 10), "0305100000");
}

TEST_F(GravaLe, PerNetworkKeepsAnExistingDatFile) {
  Configura("[LogRede_077]\nTipoLog=2\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  EXPECT_TRUE(drive_.existe("kovra/log/LOG_0305.077"));
  EXPECT_FALSE(drive_.existe("kovra/log/LOG_0305.dat"));

  FixaData(2026, 3, 6);
  ArquivoFeito(drive_, "kovra/log/LOG_0306.dat", 3, 0, "06/03/26 0200");
  std::string nsu;
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "060003");
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/LOG_0306.dat")), 4u * kP);
  EXPECT_FALSE(drive_.existe("kovra/log/LOG_0306.077"));
}

TEST_F(GravaLe, PerCompanyFromTheStartDate) {
  Configura("[LogRede_077]\nTipoLog=3\nDataInicio=10032026\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000001"), 0);
  EXPECT_TRUE(drive_.existe("kovra/log/LOG_0305.dat"));
  FixaData(2026, 3, 10);
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000001"), 0);
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000002"), 0);
  EXPECT_TRUE(drive_.existe("kovra/log/empresas/00000001/LOG_0310.dat"));
  EXPECT_TRUE(drive_.existe("kovra/log/empresas/00000002/LOG_0310.dat"));
  EXPECT_TRUE(drive_.existe("kovra/log/empresas/00000001/EXT_0310.077"));
  EXPECT_FALSE(drive_.existe("kovra/log/LOG_0310.dat"));
  RegistroLog lido{};
  EXPECT_EQ(LeLog("00000002", &lido, nullptr, "100001", "0310"), 0);
  EXPECT_EQ(LeLog("00000003", &lido, nullptr, "100001", "0310"), -NV_ENOENT);
  // A code that would leave its directory is refused.
  EXPECT_EQ(Grava(&r, nullptr, nullptr, "../../x1"), -NV_EINVAL);
}

TEST_F(GravaLe, DatesDerivedFromTheNsu) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda("5555666677778888");
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  // Slot 10000 of today's file (day 5) by a rewrite, which extends the file.
  ASSERT_EQ(RegravaLog("00000001", &r, nullptr, "360000", nullptr), 0);
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/LOG_0305.dat")), 10001u * kP);
  RegistroLog lido{};
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "360000", nullptr), 0);
  EXPECT_STREQ(lido.Cartao, "5555666677778888");
  // On the 3rd of the next month the same NSU names the 5th of March.
  ReiniciaLog();
  FixaData(2026, 4, 3);
  ASSERT_EQ(Define(), 0);
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "360000", nullptr), 0);
  EXPECT_STREQ(lido.Cartao, "5555666677778888");
  // An emergency NSU tells no day; with a date it reads slot 30123.
  FixaData(2026, 3, 5);
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "940123", nullptr), LOG_NAO_EXISTE);
  ASSERT_EQ(RegravaLog("00000001", &r, nullptr, "940123", "0305"), 0);
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/LOG_0305.dat")), 30124u * kP);
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "940123", "0305"), 0);
  EXPECT_STREQ(lido.Cartao, "5555666677778888");
}

TEST_F(GravaLe, YearOfAnMmddArgument) {
  // The year decides whether the date is per company (from 1 January 2027).
  Configura("[LogRede_077]\nTipoLog=3\nDataInicio=01012027\n");
  ASSERT_EQ(Define(), 0);
  ArquivoFeito(drive_, "kovra/log/empresas/00000001/LOG_0120.dat", 2);
  ArquivoFeito(drive_, "kovra/log/LOG_1220.dat", 2);
  RegistroLog lido{};
  FixaData(2026, 12, 20);
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "200001", "0120"), 0);   // January: next year
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "200001", "1220"), 0);   // this year, the root
  FixaData(2027, 1, 10);
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "200001", "1220"), 0);   // a later month: last year
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "200001", "0120"), 0);
}

TEST_F(GravaLe, RecordsThatAreNotThere) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  RegistroLog lido{};
  struct Caso {
    const char* nsu;
    const char* mmdd;
    int esperado;
  };
  const Caso casos[] = {
      {"050002", "0305", LOG_NAO_EXISTE},   // slot not written yet
      {"059999", nullptr, LOG_NAO_EXISTE},
      {"050000", "0305", LOG_NAO_EXISTE},   // slot 0 is the file header
      {"050000", nullptr, LOG_NAO_EXISTE},
      {"060001", "0305", LOG_NAO_EXISTE},   // NSU of another day
      {"05000x", "0305", LOG_NAO_EXISTE},
      {"050001", "1332", LOG_DATA_INVALIDA},
      {"050001", "0300", LOG_DATA_INVALIDA},
      {"050001", "03a5", LOG_DATA_INVALIDA},
      {"040001", nullptr, -NV_ENOENT},      // the 4th has no file
  };
  for (const auto& c : casos)
    EXPECT_EQ(LeLog("00000001", &lido, nullptr, c.nsu, c.mmdd), c.esperado) << c.nsu;
}

TEST_F(GravaLe, MissingLogRootIsNotCreatedByReads) {
  Configura("[Log]\nPathLogsKovra=/dados/log\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog lido{};
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "050001", "0305"), -NV_ENOENT);
  EXPECT_EQ(RegravaLog("00000001", &lido, nullptr, "050001", "0305"), -NV_ENOENT);
  VarreduraLog v;
  EXPECT_EQ(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_FRENTE), -NV_ENOENT);
  EXPECT_FALSE(drive_.existe("dados"));
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  EXPECT_TRUE(drive_.existe("dados/log/LOG_0305.dat"));
}

TEST_F(GravaLe, FileShorterThanOneRecord) {
  ASSERT_EQ(Define(), 0);
  drive_.escreve("kovra/log/LOG_0305.dat", std::string(100, 'x'));
  RegistroLog r = Venda();
  std::string nsu;
  EXPECT_EQ(Grava(&r, nullptr, &nsu), -LOG_ARQUIVO_CURTO);
  EXPECT_EQ(nsu, "");
  EXPECT_EQ(r.Nsu[0], '\0');
  EXPECT_EQ(LeLog("00000001", &r, nullptr, "050001", "0305"), -LOG_ARQUIVO_CURTO);
  EXPECT_EQ(Bytes("kovra/log/LOG_0305.dat"), std::string(100, 'x'));
  EXPECT_FALSE(drive_.existe("kovra/log/LOG_0305.077"));
}

TEST_F(GravaLe, CutOffLastSlot) {
  ASSERT_EQ(Define(), 0);
  ArquivoFeito(drive_, "kovra/log/LOG_0305.dat", 2, 100);
  RegistroLog lido{};
  std::memset(&lido, 'z', sizeof lido);
  // The cut-off slot stays short through every attempt: no record handed out.
  EXPECT_EQ(LeLog("00000001", &lido, nullptr, "050002", "0305"), NV_EIO);
  EXPECT_EQ(lido.Terminal[0], '\0');
  RegistroLog r = Venda();
  std::string nsu;
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "050003");
  ASSERT_EQ(fs::file_size(drive_.caminho("kovra/log/LOG_0305.dat")), 4u * kP);
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "050002", "0305"), 0);
  EXPECT_EQ(lido.Rede, 0);   // a slot of zeros
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "050003", "0305"), 0);
  EXPECT_EQ(lido.Rede, 77);
}

TEST_F(GravaLe, HeaderOfAnotherYearIsKept) {
  ASSERT_EQ(Define(), 0);
  ArquivoFeito(drive_, "kovra/log/LOG_0305.dat", 3, 0, "05/03/25 0200");
  RegistroLog r = Venda();
  std::string nsu;
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "050003");
  EXPECT_EQ(Bytes("kovra/log/LOG_0305.dat").substr(0, 13), "05/03/25 0200");
}

TEST_F(GravaLe, NoNsuLeftAndTheWarningsBeforeIt) {
  ASSERT_EQ(Define(), 0);
  ArquivoFeito(drive_, "kovra/log/LOG_0305.dat", 28000);
  RegistroLog r = Venda();
  std::string nsu;
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "678000");
  const std::string aviso1 = "WARNING: Restam apenas 2000 NSUs no arquivo unico a TODAS as empresas "
                             "para inicio do uso da area de emergencia";
  EXPECT_TRUE(TemMensagem(aviso1));
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);   // within the hour: no second warning
  EXPECT_EQ(Mensagens().size(), 1u);
  NV_RelogioAvanca(3601 * 1000);
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_TRUE(TemMensagem("WARNING: Restam apenas 1998 NSUs no arquivo unico a TODAS as empresas "
                          "para inicio do uso da area de emergencia"));

  fs::resize_file(drive_.caminho("kovra/log/LOG_0305.dat"), 89999 * kP);
  NV_RelogioAvanca(3601 * 1000);
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  EXPECT_EQ(nsu, "999999");
  EXPECT_TRUE(TemMensagem(
      "WARNING: Restam 1 NSUs no arquivo unico a TODAS as empresas ate o esgotamento COMPLETO"));
  RegistroLog antes = r;
  EXPECT_EQ(Grava(&r, nullptr, &nsu), LOG_SEM_NSU);
  EXPECT_EQ(std::memcmp(&antes, &r, kP), 0);
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/LOG_0305.dat")), 90000u * kP);
}

TEST_F(GravaLe, CompanyWarningsOfPerCompanyLogs) {
  Configura("[LogRede_077]\nTipoLog=3\n");
  ASSERT_EQ(Define(), 0);
  ArquivoFeito(drive_, "kovra/log/empresas/00000042/LOG_0305.dat", 30000);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000042"), 0);
  EXPECT_TRUE(TemMensagem(
      "WARNING: Restam 60000 NSUs no arquivo da empresa 00000042 ate o esgotamento COMPLETO"));
}

TEST_F(GravaLe, FailedWriteHandsOutNoNsu) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota();
  ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  // The file-size limit lets the primary record of slot 2 be written, but
  // not the secondary record: the write fails after the primary went in.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit antigo{};
  getrlimit(RLIMIT_FSIZE, &antigo);
  rlimit limite = antigo;
  limite.rlim_cur = 3 * kP;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
  RegistroLog r2 = Venda();
  std::memcpy(r2.Nsu, "ABCDEF", 7);
  GravaU32(r2.IndiceSecundario, 77);
  char fora[7] = "zzzzzz";
  const SaidaLog saidas[] = {{LOG_SAIDA_NSU_TEXTO, r2.Nsu}, {LOG_SAIDA_NSU, fora}, {0, nullptr}};
  const int rc = GravaLog("00000001", &r2, &s, saidas);
  setrlimit(RLIMIT_FSIZE, &antigo);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(rc, NV_EFBIG);
  EXPECT_STREQ(r2.Nsu, "ABCDEF");
  EXPECT_STREQ(fora, "zzzzzz");
  EXPECT_EQ(LeU32(r2.IndiceSecundario), 77u);
  // The primary record that went in stays; the next write takes the next slot.
  std::string nsu;
  ASSERT_EQ(Grava(&r, &s, &nsu), 0);
  EXPECT_EQ(nsu, "050003");
}

TEST_F(GravaLe, SecondaryReadOnlyWhenTheFilterSaysSo) {
  ASSERT_EQ(Define(), 0);
  RegistroLog carga = Venda();
  carga.CodTrn = 12;
  RegistroLogSecundario s = Frota();
  ASSERT_EQ(Grava(&carga, &s, nullptr), 0);
  RegistroLog lido{};
  RegistroLogSecundario lido_s;
  std::memset(&lido_s, '#', sizeof lido_s);
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050001", "0305"), 0);
  EXPECT_EQ(lido_s.FrotaCampo1[0], '#');
  // A record the filter accepts but that names no secondary slot reads an
  // empty secondary record, never the file header.
  RegistroLog venda = Venda();
  ASSERT_EQ(Grava(&venda, nullptr, nullptr), 0);
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050002", "0305"), 0);
  EXPECT_EQ(lido_s.FrotaCampo1[0], '\0');
}

TEST_F(GravaLe, DayChangeClosesYesterdaysFilesFromOneOClock) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  auto datas = [] {
    std::vector<int> d;
    for (const auto& a : g_log.arquivos) d.push_back(a.data);
    return d;
  };
  FixaData(2026, 3, 6, 0, 30);
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  EXPECT_EQ(datas(), (std::vector<int>{20260305, 20260306}));
  FixaData(2026, 3, 6, 1, 0);
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  EXPECT_EQ(datas(), (std::vector<int>{20260306}));
}

TEST_F(GravaLe, OpenFileTableReusesItsOldestEntryWhenFull) {
  ASSERT_EQ(Define(), 0);
  g_log.max_arquivos = 0;   // cannot grow past its first step
  g_log.arquivos.reserve(2);
  RegistroLog r = Venda();
  for (int dia = 1; dia <= 4; dia++) {
    FixaData(2026, 3, dia, 0, 10);   // before 01:00: no day change closes files
    ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  }
  ASSERT_EQ(g_log.arquivos.size(), 2u);
  EXPECT_EQ(g_log.arquivos[0].data, 20260303);
  EXPECT_EQ(g_log.arquivos[1].data, 20260304);
}

TEST_F(GravaLe, ReadBackComparison) {
  Configura("[Geral]\nComparaRegistroGravado=1\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog carga = Venda();
  carga.CodTrn = 12;
  RegistroLogSecundario s = Frota();
  EXPECT_EQ(Grava(&carga, &s, nullptr), 0);
  RegistroLog venda = Venda();
  EXPECT_EQ(Grava(&venda, &s, nullptr), 0);
  // A card field that starts with one of the stored letters cannot come back.
  RegistroLog estranho = Venda("b123");
  EXPECT_EQ(Grava(&estranho, nullptr, nullptr), LOG_RELIDO_DIFERENTE);
  EXPECT_TRUE(TemMensagem("I: 1/memcmp"));
  EXPECT_EQ(RegravaLog("00000001", &estranho, nullptr, "050003", "0305"), LOG_RELIDO_DIFERENTE);
  EXPECT_TRUE(TemMensagem("G: 1/memcmp"));
}

}  // namespace
