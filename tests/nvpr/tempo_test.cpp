// The time source: frozen and advanced clocks for tests, local time after
// TZ, conversions both ways and formatting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "nvpr/nv_time.h"

namespace {

// Sets TZ for one test and puts the old value back.
class Fuso {
 public:
  explicit Fuso(const char* tz) {
    const char* v = std::getenv("TZ");
    tinha_ = v != nullptr;
    if (tinha_) antigo_ = v;
    setenv("TZ", tz, 1);
  }
  ~Fuso() {
    if (tinha_) setenv("TZ", antigo_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  bool tinha_ = false;
  std::string antigo_;
};

struct Relogio : ::testing::Test {
  void TearDown() override { NV_RelogioReal(); }
};

// 2026-03-15 13:45:30.250 UTC, a Sunday.
constexpr int64_t kInstante = 1773582330250LL;

TEST_F(Relogio, FrozenClockMovesOnlyWhenAdvanced) {
  NV_RelogioFixa(kInstante);
  EXPECT_EQ(NV_AgoraMs(), kInstante);
  EXPECT_EQ(NV_AgoraSeg(), kInstante / 1000);
  const int64_t m0 = NV_RelogioMonotonico();
  NV_RelogioAvanca(1500);
  EXPECT_EQ(NV_AgoraMs(), kInstante + 1500);
  EXPECT_GE(NV_RelogioMonotonico() - m0, 1500LL * 1000000);
  NV_RelogioAvanca(-10);   // never backwards
  EXPECT_EQ(NV_AgoraMs(), kInstante + 1500);
}

TEST_F(Relogio, RealClockReturnsAndMonotonicNeverGoesBack) {
  NV_RelogioFixa(0);
  const int64_t m0 = NV_RelogioMonotonico();
  NV_RelogioReal();
  EXPECT_GT(NV_AgoraSeg(), 1700000000);   // after 2023
  EXPECT_GE(NV_RelogioMonotonico(), m0);
}

TEST_F(Relogio, LocalTimeFollowsTz) {
  NV_RelogioFixa(kInstante);
  NV_DataHora dh{};
  {
    Fuso f("UTC0");
    NV_HoraLocal(&dh);
    EXPECT_EQ(dh.ano, 2026);
    EXPECT_EQ(dh.mes, 3);
    EXPECT_EQ(dh.dia, 15);
    EXPECT_EQ(dh.hora, 13);
    EXPECT_EQ(dh.minuto, 45);
    EXPECT_EQ(dh.segundo, 30);
    EXPECT_EQ(dh.milisegundo, 250);
    EXPECT_EQ(dh.dia_semana, 0);
    EXPECT_EQ(dh.dia_ano, 73);
  }
  {
    Fuso f("BRT3");   // three hours behind UTC
    NV_HoraLocal(&dh);
    EXPECT_EQ(dh.hora, 10);
    char buf[32];
    EXPECT_EQ(NV_FormataHoraLocal(buf, sizeof buf, "%m%d %H%M%S"), 11);
    EXPECT_STREQ(buf, "0315 104530");
  }
}

TEST_F(Relogio, ConversionsBothWays) {
  Fuso f("BRT3");
  NV_DataHora dh{};
  NV_ConverteHora(kInstante / 1000, true, &dh);
  EXPECT_EQ(dh.hora, 13);
  NV_ConverteHora(kInstante / 1000, false, &dh);
  EXPECT_EQ(dh.hora, 10);
  EXPECT_EQ(NV_HoraParaEpoch(&dh), kInstante / 1000);
  // Before 1970 the milliseconds are rounded towards the past.
  NV_RelogioFixa(-1);
  NV_HoraLocal(&dh);
  EXPECT_EQ(dh.milisegundo, 999);
  EXPECT_EQ(NV_AgoraSeg(), -1);
}

TEST_F(Relogio, FormattingNeverOverflows) {
  NV_RelogioFixa(kInstante);
  char buf[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(NV_FormataHoraLocal(buf, sizeof buf, "%Y%m%d"), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(NV_FormataHoraLocal(buf, 0, "%Y"), 0);
  EXPECT_EQ(NV_FormataHoraLocal(nullptr, 10, "%Y"), 0);
}

}  // namespace
