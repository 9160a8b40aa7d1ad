// Reading from a queue fed by a bare socket: sizes against the caller's
// buffer, notifications, malformed datagrams, segments joined and messages
// that never end, and the wake from another thread.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "msgqueue_apoio.h"

namespace {

constexpr const char* kNome = "Kovra/queues/pdvwr.25";

class LeituraTeste : public FilaTeste {
 protected:
  void SetUp() override {
    FilaTeste::SetUp();
    NV_MsgQueue* f = nullptr;
    ASSERT_EQ(NV_MsgQueueCreate(&f, kNome), 0);
    leitor_.reset(f);
    escritor_ = std::make_unique<EscritorCru>(kNome);
  }
  // Reads into a buffer of `tam` bytes; the message read goes to *msg.
  int Le(size_t tam, Bytes* msg) {
    buf_.assign(tam, 0xAA);
    size_t n = 99;
    const int rc = NV_MsgQueueRead(leitor_.get(), buf_.data(), tam, &n);
    msg->assign(buf_.begin(), buf_.begin() + static_cast<long>(std::min(n, tam)));
    n_ = n;
    return rc;
  }
  NV_MsgQueuePtr leitor_;
  std::unique_ptr<EscritorCru> escritor_;
  Bytes buf_;
  size_t n_ = 0;
};

}  // namespace

TEST_F(LeituraTeste, AMessageFitsWhenItIsAtMostFourBytesShortOfTheBuffer) {
  const Bytes m1496 = Padrao(1496, 1), m1497 = Padrao(1497, 2), prox = Padrao(10, 3);
  escritor_->Envia(Datagrama(250, m1497));
  escritor_->Envia(Datagrama(250, m1496));
  escritor_->Envia(Datagrama(250, prox));
  Bytes m;
  EXPECT_EQ(Le(1500, &m), 90);
  EXPECT_EQ(n_, 0u);
  EXPECT_TRUE(std::all_of(buf_.begin(), buf_.end(), [](uint8_t b) { return b == 0 || b == 0xAA; }));
  EXPECT_EQ(Le(1500, &m), 0);
  EXPECT_EQ(m, m1496);
  EXPECT_EQ(Le(1500, &m), 0);
  EXPECT_EQ(m, prox);
}

TEST_F(LeituraTeste, NotificationsAreDroppedOrEndTheReadWith305) {
  escritor_->Envia(Datagrama(250, {'a'}));
  escritor_->Envia(Datagrama(253, Padrao(40, 9)));
  escritor_->Envia(Datagrama(250, {'b', 'c'}));
  escritor_->Envia(Datagrama(252, {'n', 'o', 't'}));
  escritor_->Envia(Datagrama(251, {'d'}));
  escritor_->Envia(Datagrama(253, {'x', 'y', 'z'}));   // dropped inside a message too
  escritor_->Envia(Datagrama(250, {'e'}));
  Bytes m;
  EXPECT_EQ(Le(100, &m), 0);
  EXPECT_EQ(m, Bytes{'a'});
  EXPECT_EQ(Le(100, &m), 0);
  EXPECT_EQ(m, (Bytes{'b', 'c'}));
  EXPECT_EQ(buf_[2], 0);   // nothing of the dropped notification is left behind
  EXPECT_EQ(Le(100, &m), 305);
  EXPECT_EQ(m, (Bytes{'n', 'o', 't'}));
  EXPECT_EQ(Le(100, &m), 0);
  EXPECT_EQ(m, (Bytes{'d', 'e'}));
  EXPECT_EQ(buf_[2], 0);
}

TEST_F(LeituraTeste, MalformedDatagramsFailWith74AndTheNextMessageIsServed) {
  const Bytes casos[] = {
      {},                                   // empty datagram
      {0xFE, 0xFF, 0xFD},                   // shorter than the header
      {0xFE, 0xFF, 0xFC, 250, 'x'},         // wrong magic
      {'G', 'E', 'T', ' ', '/', 'x'},       // not a queue datagram at all
      Datagrama(249, {'x'}),                // unknown types
      Datagrama(254, {'x'}),
      Datagrama(0, {}),
  };
  for (const auto& d : casos) {
    SCOPED_TRACE(d.size());
    escritor_->Envia(d);
    escritor_->Envia(Datagrama(250, {'o', 'k'}));
    Bytes m;
    EXPECT_EQ(Le(64, &m), 74);
    EXPECT_EQ(n_, 0u);
    EXPECT_TRUE(std::all_of(buf_.begin(), buf_.end(), [](uint8_t b) { return b == 0 || b == 0xAA; }));
    EXPECT_EQ(Le(64, &m), 0);
    EXPECT_EQ(m, (Bytes{'o', 'k'}));
  }
}

TEST_F(LeituraTeste, DatagramsOver16384BytesAreDroppedWith90) {
  escritor_->Envia(Datagrama(250, Padrao(16381, 4)));
  escritor_->Envia(Datagrama(250, Padrao(16380, 5)));
  Bytes m;
  EXPECT_EQ(Le(60000, &m), 90);
  EXPECT_EQ(Le(60000, &m), 0);
  EXPECT_EQ(m, Padrao(16380, 5));
}

TEST_F(LeituraTeste, SegmentsAreJoinedAndAMessageTooLongForTheBufferIsDropped) {
  const Bytes a = Padrao(16380, 6), b = Padrao(16380, 7), c = Padrao(100, 8);
  escritor_->Envia(Datagrama(251, a));
  escritor_->Envia(Datagrama(251, b));
  escritor_->Envia(Datagrama(250, c));
  Bytes m;
  ASSERT_EQ(Le(60000, &m), 0);
  Bytes junto = a;
  junto.insert(junto.end(), b.begin(), b.end());
  junto.insert(junto.end(), c.begin(), c.end());
  EXPECT_EQ(m, junto);

  // Into 20000 bytes the second segment no longer fits: 90, the bytes placed
  // are zeroed, and the segment still queued is read as a message of its own.
  escritor_->Envia(Datagrama(251, a));
  escritor_->Envia(Datagrama(251, b));
  escritor_->Envia(Datagrama(250, c));
  EXPECT_EQ(Le(20000, &m), 90);
  EXPECT_EQ(n_, 0u);
  EXPECT_TRUE(std::all_of(buf_.begin(), buf_.begin() + 16380, [](uint8_t x) { return x == 0; }));
  EXPECT_EQ(Le(20000, &m), 0);
  EXPECT_EQ(m, c);
}

TEST_F(LeituraTeste, AMessageWhoseLastSegmentNeverComesIsDroppedWith74) {
  NV_MsgQueueDefineEsperas(0, 30);
  escritor_->Envia(Datagrama(251, Padrao(500, 1)));
  Bytes m;
  EXPECT_EQ(Le(1500, &m), 74);
  EXPECT_EQ(n_, 0u);
  EXPECT_TRUE(std::all_of(buf_.begin(), buf_.begin() + 500, [](uint8_t x) { return x == 0; }));
  escritor_->Envia(Datagrama(250, {'n', 'o', 'v', 'a'}));
  EXPECT_EQ(Le(1500, &m), 0);
  EXPECT_EQ(m, (Bytes{'n', 'o', 'v', 'a'}));
}

TEST_F(LeituraTeste, WakeEndsABlockedReadWith4AndTheNextMessageStillArrives) {
  std::atomic<int> rc{-1};
  std::atomic<bool> lendo{false};
  char buf[100];
  size_t n = 5;
  std::thread t([&] {
    lendo = true;
    rc = NV_MsgQueueRead(leitor_.get(), buf, sizeof buf, &n);
  });
  while (!lendo) std::this_thread::yield();
  EXPECT_EQ(NV_MsgQueueWake(leitor_.get()), 0);
  t.join();
  EXPECT_EQ(rc, 4);
  EXPECT_EQ(n, 0u);

  escritor_->Envia(Datagrama(250, {'d', 'e', 'p', 'o', 'i', 's'}));
  Bytes m;
  EXPECT_EQ(Le(100, &m), 0);
  EXPECT_EQ(m, (Bytes{'d', 'e', 'p', 'o', 'i', 's'}));

  // Wakes before a read count once.
  EXPECT_EQ(NV_MsgQueueWake(leitor_.get()), 0);
  EXPECT_EQ(NV_MsgQueueWake(leitor_.get()), 0);
  EXPECT_EQ(Le(100, &m), 4);
  escritor_->Envia(Datagrama(250, {'z'}));
  EXPECT_EQ(Le(100, &m), 0);
}

TEST_F(LeituraTeste, WhatTheQueueWritesTheQueueReads) {
  NV_MsgQueue* e = nullptr;
  ASSERT_EQ(NV_MsgQueueOpen(&e, kNome), 0);
  NV_MsgQueuePtr escritor(e);
  for (size_t tam : {size_t{1}, size_t{200}, size_t{16380}, size_t{16381}, size_t{50000}}) {
    const Bytes msg = Padrao(tam, static_cast<uint8_t>(tam));
    ASSERT_EQ(NV_MsgQueueWrite(e, msg.data(), msg.size()), 0);
    Bytes m;
    ASSERT_EQ(Le(60000, &m), 0) << tam;
    EXPECT_EQ(m, msg) << tam;
  }
}
