// One driver channel's ring without its threads: the bounds of 100
// messages and 60000 bytes, the wait for room with its deadline, and the
// copies that wrap around the end of the data ring.
#include <thread>

#include "basico/libcomdrivers_interno.h"
#include "intercom_apoio.h"
#include "nvpr/nv_error.h"

namespace {

class CanalTeste : public ::testing::Test {
 protected:
  void SetUp() override {
    c_ = std::make_unique<CanalDriver>();
    NV_CondCreate(&c_->chegou);
    NV_CondCreate(&c_->liberou);
  }
  void TearDown() override {
    NV_CondDestroy(&c_->chegou);
    NV_CondDestroy(&c_->liberou);
  }
  Bytes Tira(int espera_ms = 0) {
    Bytes b;
    size_t n = 0;
    int64_t entrada = 0;
    EXPECT_EQ(TiraCanal(c_.get(), &b, espera_ms, false, &n, &entrada), 0);
    b.resize(n);
    return b;
  }
  std::unique_ptr<CanalDriver> c_;
};

Bytes Padrao(size_t n, uint8_t semente) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(semente + i * 13);
  return b;
}

TEST_F(CanalTeste, MessagesWrapAroundTheEndOfTheDataRing) {
  // 25000 + 25000 fill most of the ring; after the first is taken the third
  // (20000) runs past the end and continues at the start.
  ASSERT_EQ(PoeCanal(c_.get(), Padrao(25000, 1).data(), 25000, 0), 0);
  ASSERT_EQ(PoeCanal(c_.get(), Padrao(25000, 2).data(), 25000, 0), 0);
  EXPECT_EQ(Tira(), Padrao(25000, 1));
  ASSERT_EQ(PoeCanal(c_.get(), Padrao(20000, 3).data(), 20000, 0), 0);
  EXPECT_EQ(Tira(), Padrao(25000, 2));
  EXPECT_EQ(Tira(), Padrao(20000, 3));
  EXPECT_EQ(c_->usados, 0u);
}

TEST_F(CanalTeste, FullChannelRefusesAfterItsWait) {
  for (int i = 0; i < kMaxMsgsCanal; ++i) ASSERT_EQ(PoeCanal(c_.get(), "m", 1, 0), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(PoeCanal(c_.get(), "m", 1, 50), NV_ENOBUFS);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nNV_ENOBUFS NV_ETIMEDOUT\n");
  // Bytes bound the ring as well as messages; a message larger than the
  // ring is refused without waiting for room that never comes.
  EXPECT_EQ(Tira(), Bytes{'m'});
  testing::internal::CaptureStderr();
  EXPECT_EQ(PoeCanal(c_.get(), Padrao(kTamAnelCanal, 0).data(), kTamAnelCanal, 50), NV_ENOBUFS);
  EXPECT_EQ(PoeCanal(c_.get(), Padrao(kTamAnelCanal + 1, 0).data(), kTamAnelCanal + 1, -1),
            NV_ENOBUFS);
  testing::internal::GetCapturedStderr();
}

TEST_F(CanalTeste, WaitingProducerGoesOnWhenRoomIsFreed) {
  for (int i = 0; i < kMaxMsgsCanal; ++i) ASSERT_EQ(PoeCanal(c_.get(), "a", 1, 0), 0);
  int rc = -1;
  std::thread produtor([&] { rc = PoeCanal(c_.get(), "b", 1, -1); });
  // Room is freed only once the producer counts as waiting for it.
  for (bool esperando = false; !esperando; NV_Sleep(1)) {
    NV_Trava trava(&c_->mutex);
    esperando = c_->esperando_espaco == 1;
  }
  EXPECT_EQ(Tira(), Bytes{'a'});
  produtor.join();
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(c_->quantidade, kMaxMsgsCanal);
}

TEST_F(CanalTeste, EmptyChannelGivesNothingWithinTheWait) {
  Bytes b;
  size_t n = 0;
  int64_t entrada = 0;
  EXPECT_EQ(TiraCanal(c_.get(), &b, 20, false, &n, &entrada), NV_ETIMEDOUT);
}

}  // namespace
