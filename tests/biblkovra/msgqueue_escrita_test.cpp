// Writing to a queue, seen from a bare socket bound at its path: segment
// sizes and types byte for byte, the empty message, roles, a reader that is
// gone, and the bound on a writer facing a full queue.
#include <cstring>
#include <sys/socket.h>

#include "msgqueue_apoio.h"

namespace {

constexpr const char* kNome = "Kovra/Drivers/TX-25";

struct Segmento {
  uint8_t tipo;
  size_t tam;
};

}  // namespace

TEST_F(FilaTeste, MessagesAreCutIntoSegmentsOf16380Bytes) {
  struct Caso {
    size_t tam;
    std::vector<Segmento> segmentos;
  };
  const Caso casos[] = {
      {1, {{250, 1}}},
      {16380, {{250, 16380}}},
      {16381, {{251, 16380}, {250, 1}}},
      {32760, {{251, 16380}, {250, 16380}}},
      {40000, {{251, 16380}, {251, 16380}, {250, 7240}}},
  };
  LeitorCru leitor(kNome);
  NV_MsgQueue* f = nullptr;
  ASSERT_EQ(NV_MsgQueueOpen(&f, kNome), 0);
  NV_MsgQueuePtr escritor(f);
  for (const auto& c : casos) {
    SCOPED_TRACE(c.tam);
    const Bytes msg = Padrao(c.tam, static_cast<uint8_t>(c.tam));
    ASSERT_EQ(NV_MsgQueueWrite(f, msg.data(), msg.size()), 0);
    size_t pos = 0;
    for (const auto& s : c.segmentos) {
      Bytes d;
      ASSERT_TRUE(leitor.Recebe(&d));
      ASSERT_EQ(d.size(), s.tam + 4);
      EXPECT_EQ(d[0], 0xFE);
      EXPECT_EQ(d[1], 0xFF);
      EXPECT_EQ(d[2], 0xFD);
      EXPECT_EQ(d[3], s.tipo);
      EXPECT_EQ(std::memcmp(d.data() + 4, msg.data() + pos, s.tam), 0);
      pos += s.tam;
    }
  }
  Bytes resto;
  EXPECT_FALSE(leitor.Recebe(&resto, 0));
}

TEST_F(FilaTeste, AnEmptyMessageSendsNoDatagram) {
  LeitorCru leitor(kNome);
  NV_MsgQueue* f = nullptr;
  ASSERT_EQ(NV_MsgQueueOpen(&f, kNome), 0);
  NV_MsgQueuePtr escritor(f);
  EXPECT_EQ(NV_MsgQueueWrite(f, "x", 0), 0);
  EXPECT_EQ(NV_MsgQueueWrite(f, nullptr, 0), 0);
  Bytes d;
  EXPECT_FALSE(leitor.Recebe(&d, 0));
  EXPECT_EQ(NV_MsgQueueWrite(f, nullptr, 3), 22);
}

TEST_F(FilaTeste, EachRoleRefusesTheOtherRolesCalls) {
  NV_MsgQueue* l = nullptr;
  NV_MsgQueue* e = nullptr;
  ASSERT_EQ(NV_MsgQueueCreate(&l, kNome), 0);
  NV_MsgQueuePtr leitor(l);
  ASSERT_EQ(NV_MsgQueueOpen(&e, kNome), 0);
  NV_MsgQueuePtr escritor(e);
  char buf[16];
  size_t n = 7;
  EXPECT_EQ(NV_MsgQueueWrite(l, "abc", 3), 95);
  EXPECT_EQ(NV_MsgQueueRead(e, buf, sizeof buf, &n), 95);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(NV_MsgQueueWake(e), 38);
  EXPECT_EQ(NV_MsgQueueClose(nullptr), 22);
  EXPECT_EQ(NV_MsgQueueRead(nullptr, buf, sizeof buf, &n), 22);
  EXPECT_EQ(NV_MsgQueueWrite(nullptr, "abc", 3), 22);
  EXPECT_EQ(NV_MsgQueueWake(nullptr), 22);
}

TEST_F(FilaTeste, WritesFailOnceTheReaderIsGoneAndAReopenReachesTheNewOne) {
  NV_MsgQueue* e = nullptr;
  EXPECT_NE(NV_MsgQueueOpen(&e, kNome), 0);   // no reader yet
  EXPECT_EQ(e, nullptr);

  NV_MsgQueue* l = nullptr;
  ASSERT_EQ(NV_MsgQueueCreate(&l, kNome), 0);
  ASSERT_EQ(NV_MsgQueueOpen(&e, kNome), 0);
  ASSERT_EQ(NV_MsgQueueWrite(e, "um", 2), 0);
  EXPECT_EQ(NV_MsgQueueClose(l), 0);
  EXPECT_NE(NV_MsgQueueWrite(e, "dois", 4), 0);

  ASSERT_EQ(NV_MsgQueueCreate(&l, kNome), 0);
  NV_MsgQueuePtr leitor(l);
  EXPECT_NE(NV_MsgQueueWrite(e, "dois", 4), 0);   // still bound to the old reader
  EXPECT_EQ(NV_MsgQueueClose(e), 0);
  ASSERT_EQ(NV_MsgQueueOpen(&e, kNome), 0);
  NV_MsgQueuePtr escritor(e);
  ASSERT_EQ(NV_MsgQueueWrite(e, "tres", 4), 0);
  char buf[64];
  size_t n = 0;
  ASSERT_EQ(NV_MsgQueueRead(l, buf, sizeof buf, &n), 0);
  EXPECT_EQ(std::string(buf, n), "tres");
}

TEST_F(FilaTeste, AWriterFacingAFullQueueGivesUpWithinItsBound) {
  NV_MsgQueueDefineEsperas(30, 0);
  LeitorCru leitor(kNome);   // never reads
  NV_MsgQueue* f = nullptr;
  ASSERT_EQ(NV_MsgQueueOpen(&f, kNome), 0);
  NV_MsgQueuePtr escritor(f);
  int rc = 0;
  int escritas = 0;
  for (; escritas < 100000 && rc == 0; ++escritas) rc = NV_MsgQueueWrite(f, "cheia", 5);
  EXPECT_EQ(rc, 110);
  EXPECT_GT(escritas, 1);
  // Once the reader drains one datagram the writer goes on.
  Bytes d;
  ASSERT_TRUE(leitor.Recebe(&d));
  EXPECT_EQ(NV_MsgQueueWrite(f, "cheia", 5), 0);
}
