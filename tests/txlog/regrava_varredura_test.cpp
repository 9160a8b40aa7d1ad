// RegravaLog and the scans: rewriting in place with the secondary slot
// rules, forward and backward scans with and without reserved slots, and
// the rewrite of the record a scan returned.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "log_fixture.h"
#include "nvpr/nv_error.h"

namespace {

namespace fs = std::filesystem;
using Regrava = LogTeste;
using Varredura = LogTeste;

TEST_F(Regrava, NewCardIsStoredScrambledAgain) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  std::string nsu;
  ASSERT_EQ(Grava(&r, nullptr, &nsu), 0);
  std::snprintf(r.Cartao, sizeof r.Cartao, "%s", "5067111122223333");
  r.Estado = 2;
  ASSERT_EQ(RegravaLog("00000001", &r, nullptr, nsu.c_str(), "0305"), 0);
  const std::string p = Bytes("kovra/log/LOG_0305.dat");
  EXPECT_EQ(p[kTamRegistroLog + kPosCartao], 'f');
  EXPECT_EQ(p.find("5067111122223333"), std::string::npos);
  RegistroLog lido{};
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, nsu.c_str(), nullptr), 0);
  EXPECT_STREQ(lido.Cartao, "5067111122223333");
  EXPECT_EQ(lido.Estado, 2);
}

TEST_F(Regrava, SecondarySlots) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  RegistroLogSecundario s = Frota("PRIMEIRA");
  ASSERT_EQ(Grava(&r, &s, nullptr), 0);   // slot 1 of both files
  RegistroLog sem = Venda();
  std::string nsu;
  ASSERT_EQ(Grava(&sem, nullptr, &nsu), 0);
  EXPECT_EQ(LeU32(sem.IndiceSecundario), 0u);
  // No secondary slot yet: a new one is appended and named in the record.
  RegistroLogSecundario s2 = Frota("SEGUNDA");
  ASSERT_EQ(RegravaLog("00000001", &sem, &s2, nsu.c_str(), "0305"), 0);
  EXPECT_EQ(LeU32(sem.IndiceSecundario), 2u);
  RegistroLog lido{};
  RegistroLogSecundario lido_s{};
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, nsu.c_str(), "0305"), 0);
  EXPECT_STREQ(lido_s.FrotaCampo1, "SEGUNDA");
  EXPECT_EQ(LeU32(lido.IndiceSecundario), 2u);
  // With a slot named, the rewrite stays in it.
  std::snprintf(s2.FrotaCampo1, sizeof s2.FrotaCampo1, "%s", "TERCEIRA");
  ASSERT_EQ(RegravaLog("00000001", &sem, &s2, nsu.c_str(), "0305"), 0);
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/EXT_0305.077")), 3u * kTamRegistroLogSecundario);
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, nsu.c_str(), "0305"), 0);
  EXPECT_STREQ(lido_s.FrotaCampo1, "TERCEIRA");
  // A slot number past the end of the secondary file takes the next slot.
  GravaU32(sem.IndiceSecundario, 1000000);
  ASSERT_EQ(RegravaLog("00000001", &sem, &s2, nsu.c_str(), "0305"), 0);
  EXPECT_EQ(LeU32(sem.IndiceSecundario), 3u);
  EXPECT_EQ(fs::file_size(drive_.caminho("kovra/log/EXT_0305.077")), 4u * kTamRegistroLogSecundario);
  // The first record's secondary record was never touched.
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050001", "0305"), 0);
  EXPECT_STREQ(lido_s.FrotaCampo1, "PRIMEIRA");
}

TEST_F(Regrava, Refusals) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  const std::string antes = Bytes("kovra/log/LOG_0305.dat");
  EXPECT_EQ(RegravaLog("00000001", &r, nullptr, "060001", "0305"), LOG_NAO_EXISTE);
  EXPECT_EQ(RegravaLog("00000001", &r, nullptr, "940001", nullptr), LOG_NAO_EXISTE);
  EXPECT_EQ(RegravaLog("00000001", &r, nullptr, "050001", "1332"), LOG_DATA_INVALIDA);
  EXPECT_EQ(RegravaLog("00000001", &r, nullptr, "040001", nullptr), -NV_ENOENT);
  // Slot 0 of the day is the file header, never a record to overwrite.
  EXPECT_EQ(RegravaLog("00000001", &r, nullptr, "050000", "0305"), LOG_NAO_EXISTE);
  EXPECT_EQ(Bytes("kovra/log/LOG_0305.dat"), antes);
  EXPECT_FALSE(drive_.existe("kovra/log/LOG_0304.dat"));
}

// The NSUs a scan returns until it stops, and its last result.
std::vector<std::string> Varre(const char* mmdd, int direcao, int* fim) {
  std::vector<std::string> nsus;
  VarreduraLog v;
  *fim = AbreVarreduraLog(&v, "00000001", mmdd, direcao);
  if (*fim != 0) return nsus;
  RegistroLog r{};
  RegistroLogSecundario s{};
  while ((*fim = ProximoLog(&v, &r, &s)) == 0) nsus.emplace_back(r.Nsu);
  FechaVarreduraLog(&v);
  return nsus;
}

TEST_F(Varredura, BothWays) {
  ASSERT_EQ(Define(), 0);
  std::vector<std::string> gravados;
  for (int i = 0; i < 40; i++) {
    RegistroLog r = Venda();
    RegistroLogSecundario s = Frota();
    std::string nsu;
    ASSERT_EQ(Grava(&r, &s, &nsu), 0);
    gravados.push_back(nsu);
  }
  int fim = 0;
  EXPECT_EQ(Varre("0305", LOG_VARREDURA_FRENTE, &fim), gravados);
  EXPECT_EQ(fim, LOG_FIM_VARREDURA);
  std::vector<std::string> invertidos(gravados.rbegin(), gravados.rend());
  EXPECT_EQ(Varre("0305", LOG_VARREDURA_TRAS, &fim), invertidos);
  EXPECT_EQ(fim, LOG_FIM_VARREDURA);
}

TEST_F(Varredura, ReservedSlotsAndEmptyFiles) {
  Configura("[Log]\nHabilitaOffsetNsu=1\nOffsetNsu=15000\n");
  ASSERT_EQ(Define(), 0);
  int fim = 0;
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);
  r.CodTrn = 1;   // no secondary record expected
  ASSERT_EQ(RegravaLog("00000001", &r, nullptr, "365001", "0305"), 0);
  // The forward scan starts on the last reserved slot, a record of zeros.
  EXPECT_EQ(Varre("0305", LOG_VARREDURA_FRENTE, &fim), (std::vector<std::string>{"", "365001"}));
  EXPECT_EQ(fim, LOG_FIM_VARREDURA);
  EXPECT_EQ(Varre("0305", LOG_VARREDURA_TRAS, &fim), (std::vector<std::string>{"365001", ""}));
  EXPECT_EQ(fim, LOG_FIM_VARREDURA);
  // A file of its header alone ends both scans at once.
  drive_.escreve("kovra/log/LOG_0304.dat", std::string(kTamRegistroLog, '\0'));
  EXPECT_TRUE(Varre("0304", LOG_VARREDURA_FRENTE, &fim).empty());
  EXPECT_EQ(fim, LOG_FIM_VARREDURA);
  EXPECT_TRUE(Varre("0304", LOG_VARREDURA_TRAS, &fim).empty());
  EXPECT_EQ(fim, LOG_FIM_VARREDURA);
}

TEST_F(Varredura, OpenRefusals) {
  ASSERT_EQ(Define(), 0);
  VarreduraLog v;
  EXPECT_EQ(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_FRENTE), -NV_ENOENT);
  EXPECT_EQ(AbreVarreduraLog(&v, "00000001", "1332", LOG_VARREDURA_FRENTE), LOG_DATA_INVALIDA);
  RegistroLog r{};
  EXPECT_EQ(ProximoLog(&v, &r, nullptr), 1);   // a scan that never opened
  EXPECT_EQ(RegravaCorrenteLog(&v, &r, nullptr), 1);
}

TEST_F(Varredura, SecondaryExpectedButMissing) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda();
  ASSERT_EQ(Grava(&r, nullptr, nullptr), 0);   // filter accepts it, no secondary slot
  VarreduraLog v;
  ASSERT_EQ(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_FRENTE), 0);
  RegistroLog lido{};
  RegistroLogSecundario lido_s;
  std::memset(&lido_s, '#', sizeof lido_s);   // what an earlier record left there
  EXPECT_EQ(ProximoLog(&v, &lido, &lido_s), 1);
  EXPECT_STREQ(lido.Nsu, "050001");   // the primary record was read
  EXPECT_EQ(lido_s.FrotaCampo1[0], '\0');
  FechaVarreduraLog(&v);
  ASSERT_EQ(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_FRENTE), 0);
  EXPECT_EQ(ProximoLog(&v, &lido, nullptr), 0);   // without a secondary buffer it reads
}

TEST_F(Varredura, RewriteOfTheCurrentRecord) {
  ASSERT_EQ(Define(), 0);
  for (const char* terminal : {"PDV00001", "PDV00002", "PDV00001", "PDV00003"}) {
    RegistroLog r = Venda();
    std::memcpy(r.Terminal, terminal, 8);
    RegistroLogSecundario s = Frota(terminal);
    ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  }
  // The terminal's last transaction, found backwards, is marked to be undone.
  VarreduraLog v;
  ASSERT_EQ(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_TRAS), 0);
  RegistroLog r{};
  RegistroLogSecundario s{};
  while (ProximoLog(&v, &r, &s) == 0 && std::strcmp(r.Terminal, "PDV00001") != 0) {
  }
  ASSERT_STREQ(r.Nsu, "050003");
  r.Estado = 6;
  std::snprintf(s.FrotaCampo2, sizeof s.FrotaCampo2, "%s", "DESFEITA");
  ASSERT_EQ(RegravaCorrenteLog(&v, &r, &s), 0);
  FechaVarreduraLog(&v);
  RegistroLog lido{};
  RegistroLogSecundario lido_s{};
  ASSERT_EQ(LeLog("00000001", &lido, &lido_s, "050003", "0305"), 0);
  EXPECT_EQ(lido.Estado, 6);
  EXPECT_STREQ(lido.Cartao, "4761739001010010");
  EXPECT_STREQ(lido_s.FrotaCampo2, "DESFEITA");
  EXPECT_EQ(Bytes("kovra/log/LOG_0305.dat").find("4761739001010010"), std::string::npos);
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "050004", "0305"), 0);
  EXPECT_EQ(lido.Estado, 1);
  ASSERT_EQ(LeLog("00000001", &lido, nullptr, "050001", "0305"), 0);
  EXPECT_EQ(lido.Estado, 1);
}

}  // namespace
