// kovtool log: NSU arithmetic, the dump of day files written by the log
// library (card numbers masked, reserved slots skipped) and one record shown
// as LeLog finds it.
#include <string>

#include "log_fixture.h"
#include "support/processo.h"

namespace {

using KovtoolLog = LogTeste;

// The exit status and everything kovtool wrote, standard error after
// standard output.
struct Saida {
  int status;
  std::string texto;
};

Saida Kovtool(const std::string& args) {
  const SaidaProcesso p = ExecutaShell(std::string(KOVTOOL_PROGRAMA) + " " + args);
  return {p.status, p.out + p.err};
}

int Linhas(const std::string& s) {
  int n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

TEST_F(KovtoolLog, NsuBothWays) {
  struct Caso {
    const char* args;
    int status;
    const char* saida;
  };
  const Caso casos[] = {
      {"log nsu --slot 10000 --day 5", 0, "360000\n"},
      {"log nsu --slot 1 --day 5", 0, "050001\n"},
      {"log nsu --day 5 --slot 89999", 0, "999999\n"},
      {"log nsu --slot 90000 --day 5", 1, "sem NSU\n"},
      {"log nsu 360000", 0, "slot 10000 dia 5\n"},
      {"log nsu 940123", 0, "slot 30123 emergencia\n"},
  };
  for (const auto& c : casos) {
    const Saida s = Kovtool(c.args);
    EXPECT_EQ(s.status, c.status) << c.args;
    EXPECT_EQ(s.texto, c.saida) << c.args;
  }
  for (const char* ruim : {"log nsu", "log nsu 12345", "log nsu --slot x --day 5",
                           "log nsu --slot 1 --day 32", "log nsu --slot -1 --day 5", "log",
                           "log dump", "log show 050001", "log show 050001 1332"}) {
    const Saida s = Kovtool(ruim);
    EXPECT_EQ(s.status, 2) << ruim;
    EXPECT_EQ(Linhas(s.texto), 1) << ruim << ": " << s.texto;
  }
}

TEST_F(KovtoolLog, DumpShowsNoCardInClear) {
  Configura("[Log]\nHabilitaOffsetNsu=1\nOffsetNsu=20\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda("4761739001010010", "12345");
  RegistroLogSecundario s = Frota("PLACA XYZ9876");
  ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  RegistroLog carga = Venda("6062825555000011");
  carga.CodTrn = 12;
  ASSERT_EQ(Grava(&carga, nullptr, nullptr), 0);

  const Saida d = Kovtool("log dump '\\kovra\\log\\LOG_0305.dat'");
  ASSERT_EQ(d.status, 0) << d.texto;
  EXPECT_EQ(Linhas(d.texto), 2) << d.texto;   // reserved zero slots skipped
  EXPECT_NE(d.texto.find("050021"), std::string::npos);
  EXPECT_NE(d.texto.find("476173******0010"), std::string::npos);
  EXPECT_NE(d.texto.find("606282******0011"), std::string::npos);
  EXPECT_EQ(d.texto.find("4761739001010010"), std::string::npos);
  EXPECT_EQ(d.texto.find("6062825555000011"), std::string::npos);

  const Saida j = Kovtool("log dump ../log/LOG_0305.dat --json");
  ASSERT_EQ(j.status, 0) << j.texto;
  EXPECT_EQ(Linhas(j.texto), 2);
  EXPECT_NE(j.texto.find("\"slot\":21,"), std::string::npos) << j.texto;
  EXPECT_NE(j.texto.find("\"FrotaCampo1\":\"PLACA XYZ9876\""), std::string::npos);
  EXPECT_NE(j.texto.find("\"Valor\":\"12345\""), std::string::npos);
  EXPECT_NE(j.texto.find("\"CodTrn\":12"), std::string::npos);
  EXPECT_EQ(j.texto.find("4761739001010010"), std::string::npos);

  const Saida curto = Kovtool("log dump /kovra/config/conflog.ini");
  EXPECT_EQ(curto.status, 1);
}

TEST_F(KovtoolLog, ShowFindsTheRecordAsLeLogDoes) {
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda("4761739001010010", "990");
  r.Terminal[3] = '\x1b';   // a control byte reaches the terminal escaped
  RegistroLogSecundario s = Frota("PLACA ABC0001");
  ASSERT_EQ(Grava(&r, &s, nullptr), 0);
  const Saida t = Kovtool("log show 050001 0305");
  ASSERT_EQ(t.status, 0) << t.texto;
  EXPECT_NE(t.texto.find("Valor             990"), std::string::npos) << t.texto;
  EXPECT_NE(t.texto.find("Terminal          PDV\\x1B0001"), std::string::npos) << t.texto;
  EXPECT_EQ(t.texto.find('\x1b'), std::string::npos);
  EXPECT_NE(t.texto.find("476173******0010"), std::string::npos);
  EXPECT_NE(t.texto.find("PLACA ABC0001"), std::string::npos);
  EXPECT_EQ(t.texto.find("4761739001010010"), std::string::npos);
  const Saida j = Kovtool("log show 050001 0305 --json --company 00000001");
  ASSERT_EQ(j.status, 0);
  EXPECT_NE(j.texto.find("\"Nsu\":\"050001\""), std::string::npos);
  EXPECT_EQ(Kovtool("log show 050002 0305").status, 1);
}

}  // namespace
