// Dates and times of now, and the year put on a month and day, with the
// wall clock frozen and the time zone fixed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "nvpr/nv_time.h"
#include "services/datas.h"
#include "support/relogio.h"

namespace {

class UtilDatas : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) {
      tinha_tz_ = true;
      tz_antigo_ = tz;
    }
    DefineTz("UTC0");
  }
  void TearDown() override {
    NV_RelogioReal();
    if (tinha_tz_) setenv("TZ", tz_antigo_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  static void DefineTz(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }
  // Freezes the clock at a local date and time of the current TZ (noon
  // unless a time is given).
  static void Congela(int ano, int mes, int dia, int hora = 12, int minuto = 0, int segundo = 0) {
    FixaRelogioLocal(ano, mes, dia, hora, minuto, segundo);
  }
  static std::string Proxima(const char* mmdd) {
    char s[9];
    ProximaDataAnual(mmdd, s);
    return s;
  }
  static std::string Passada(const char* mmdd) {
    char s[9];
    DataPassada(mmdd, s);
    return s;
  }

 private:
  bool tinha_tz_ = false;
  std::string tz_antigo_;
};

TEST_F(UtilDatas, TextsOfNow) {
  Congela(2026, 3, 5, 7, 8, 9);
  char mmdd[5], hhmmss[7], data[9], hora[9];
  DataMMDD(mmdd);
  HoraHHMMSS(hhmmss);
  DataMMDDAA(data);
  HoraHHMMSSPontos(hora);
  EXPECT_STREQ(mmdd, "0305");
  EXPECT_STREQ(hhmmss, "070809");
  EXPECT_STREQ(data, "03/05/26");
  EXPECT_STREQ(hora, "07:08:09");
}

TEST_F(UtilDatas, ProximaDataAnual) {
  Congela(2026, 6, 15);
  struct Caso {
    const char* mmdd;
    const char* esperado;
  };
  const Caso casos[] = {
      {"0614", "20270614"},  // yesterday: next year
      {"0615", "20260615"},  // today
      {"0616", "20260616"},
      {"1231", "20261231"},
      {"0101", "20270101"},
      {"06x5", "00000000"},
  };
  for (const Caso& c : casos) EXPECT_EQ(Proxima(c.mmdd), c.esperado) << c.mmdd;
}

TEST_F(UtilDatas, DataPassada) {
  struct Caso {
    int ano, mes, dia;   // today
    const char* mmdd;
    const char* esperado;
  };
  const Caso casos[] = {
      {2026, 1, 10, "1231", "20251231"},  // December read in January
      {2026, 12, 20, "0101", "20270101"}, // January read in December
      {2026, 6, 15, "0614", "20260614"},
      {2026, 6, 15, "0620", "20260620"},  // same month: this year
      {2026, 6, 15, "0701", "20250701"},  // a later month: last year
      {2026, 6, 15, "0101", "20260101"},
      {2026, 6, 15, "1301", "00000000"},
      {2026, 6, 15, "0001", "00000000"},
      {2026, 6, 15, "0600", "00000000"},
      {2026, 6, 15, "0632", "00000000"},
      {2026, 6, 15, "ab01", "00000000"},
  };
  for (const Caso& c : casos) {
    Congela(c.ano, c.mes, c.dia);
    EXPECT_EQ(Passada(c.mmdd), c.esperado) << c.mmdd << " on " << c.ano << "-" << c.mes;
  }
}

TEST_F(UtilDatas, FollowsTheLocalZone) {
  // 01:00 UTC on 1 January is still 31 December three hours west.
  NV_RelogioFixa(1767229200LL * 1000);  // 2026-01-01 01:00:00 UTC
  char mmdd[5];
  DataMMDD(mmdd);
  EXPECT_STREQ(mmdd, "0101");
  EXPECT_EQ(Proxima("1231"), "20261231");
  EXPECT_EQ(Passada("0201"), "20250201");
  DefineTz("BRT3");
  DataMMDD(mmdd);
  EXPECT_STREQ(mmdd, "1231");
  EXPECT_EQ(Proxima("1231"), "20251231");
  EXPECT_EQ(Passada("0201"), "20250201");
  EXPECT_EQ(Passada("0101"), "20260101");  // January seen in December
}

}  // namespace
