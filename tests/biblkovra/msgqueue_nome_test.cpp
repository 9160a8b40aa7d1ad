// Queue names and their socket files: refused characters and lengths, where
// the socket lives, every spelling reaching one queue, a stale socket taken
// over, a live reader or a foreign file refused, and the file removed at
// close.
#include <filesystem>
#include <sys/stat.h>

#include "msgqueue_apoio.h"

namespace fs = std::filesystem;

TEST_F(FilaTeste, BadNamesAreRefusedWith22) {
  const std::string longo51(51 - 4, 'a');
  const char* ruins[] = {"fila?", "a<b", "a>b", "a\"b", "c:fila", "a|b", "fila*", "",
                         "../config/x", "a/../../b", "tab\tfila", "/", "./.",
                         "Kovra/queues/", "Kovra\\queues\\", "Kovra/queues/."};
  for (const char* nome : ruins) {
    SCOPED_TRACE(nome);
    NV_MsgQueue* f = reinterpret_cast<NV_MsgQueue*>(1);
    EXPECT_EQ(NV_MsgQueueCreate(&f, nome), 22);
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(NV_MsgQueueOpen(&f, nome), 22);
  }
  // A refused name leaves nothing behind under the queue directory.
  EXPECT_FALSE(drive_.existe("kovra/mailslot/Kovra"));
  NV_MsgQueue* f = nullptr;
  EXPECT_EQ(NV_MsgQueueCreate(&f, nullptr), 22);
  EXPECT_EQ(NV_MsgQueueCreate(nullptr, "x"), 22);

  // "\\.\mailslot\" is 13 characters: a name of 51 fits in 64, 52 does not.
  const std::string nome51 = "dir/" + longo51;
  ASSERT_EQ(NV_MsgQueueCreate(&f, nome51.c_str()), 0);
  EXPECT_EQ(NV_MsgQueueClose(f), 0);
  EXPECT_EQ(NV_MsgQueueCreate(&f, (nome51 + "b").c_str()), 22);
}

TEST_F(FilaTeste, ASocketPathThatDoesNotFitTheAddressFailsWith22) {
  // A drive root deep enough that <drive>/kovra/mailslot/<name> passes 107.
  const std::string fundo = drive_.caminho(std::string(60, 'd'));
  fs::create_directories(fundo + "/kovra/bin");
  setenv("KOVRA_DRIVE", fundo.c_str(), 1);
  NV_MsgQueue* f = nullptr;
  EXPECT_EQ(NV_MsgQueueCreate(&f, "Kovra/queues/pdvwr.25"), 22);
  EXPECT_EQ(NV_MsgQueueOpen(&f, "Kovra/queues/pdvwr.25"), 22);
  EXPECT_EQ(NV_MsgQueueCreate(&f, "q"), 0);   // a short one still fits
  NV_MsgQueueClose(f);
  setenv("KOVRA_DRIVE", drive_.raiz().c_str(), 1);
}

TEST_F(FilaTeste, TheReaderBindsUnderMailslotAndEverySpellingReachesIt) {
  NV_MsgQueue* l = nullptr;
  ASSERT_EQ(NV_MsgQueueCreate(&l, "Kovra/queues/pdvwr.25"), 0);
  NV_MsgQueuePtr leitor(l);
  struct stat st {};
  ASSERT_EQ(lstat(drive_.caminho("kovra/mailslot/Kovra/queues/pdvwr.25").c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  EXPECT_EQ(CaminhoFila("Kovra\\queues\\pdvwr.25"),
            drive_.caminho("kovra/mailslot/Kovra/queues/pdvwr.25"));

  for (const char* grafia : {"Kovra\\queues\\pdvwr.25", "KOVRA/Queues/PDVWR.25"}) {
    NV_MsgQueue* e = nullptr;
    ASSERT_EQ(NV_MsgQueueOpen(&e, grafia), 0) << grafia;
    NV_MsgQueuePtr escritor(e);
    ASSERT_EQ(NV_MsgQueueWrite(e, grafia, 5), 0);
    char buf[32];
    size_t n = 0;
    ASSERT_EQ(NV_MsgQueueRead(l, buf, sizeof buf, &n), 0);
    EXPECT_EQ(std::string(buf, n), std::string(grafia, 5));
  }
}

TEST_F(FilaTeste, AStaleSocketIsTakenOverAndALiveReaderIsNot) {
  const char* nome = "Kovra/Drivers/RX-25";
  {
    LeitorCru morto(nome);   // its file stays behind when it closes
    morto.Fecha();
  }
  ASSERT_TRUE(fs::exists(CaminhoFila(nome)));
  NV_MsgQueue* l = nullptr;
  ASSERT_EQ(NV_MsgQueueCreate(&l, nome), 0);
  NV_MsgQueuePtr leitor(l);

  NV_MsgQueue* outro = nullptr;
  EXPECT_EQ(NV_MsgQueueCreate(&outro, nome), 98);
  EXPECT_EQ(outro, nullptr);
  // The live reader keeps its queue.
  NV_MsgQueue* e = nullptr;
  ASSERT_EQ(NV_MsgQueueOpen(&e, nome), 0);
  NV_MsgQueuePtr escritor(e);
  ASSERT_EQ(NV_MsgQueueWrite(e, "vivo", 4), 0);
  char buf[16];
  size_t n = 0;
  EXPECT_EQ(NV_MsgQueueRead(l, buf, sizeof buf, &n), 0);
  EXPECT_EQ(n, 4u);
}

TEST_F(FilaTeste, AFileThatIsNotASocketIsLeftAlone) {
  drive_.escreve("kovra/mailslot/fila", "dados de alguem");
  NV_MsgQueue* l = nullptr;
  EXPECT_EQ(NV_MsgQueueCreate(&l, "fila"), 98);
  EXPECT_EQ(drive_.le("kovra/mailslot/fila"), "dados de alguem");
}

TEST_F(FilaTeste, ClosingTheReaderRemovesItsSocketFile) {
  NV_MsgQueue* l = nullptr;
  ASSERT_EQ(NV_MsgQueueCreate(&l, "Kovra/queues/pdvrd.25"), 0);
  EXPECT_TRUE(drive_.existe("kovra/mailslot/Kovra/queues/pdvrd.25"));
  EXPECT_EQ(NV_MsgQueueClose(l), 0);
  EXPECT_FALSE(drive_.existe("kovra/mailslot/Kovra/queues/pdvrd.25"));
  NV_MsgQueue* e = nullptr;
  EXPECT_NE(NV_MsgQueueOpen(&e, "Kovra/queues/pdvrd.25"), 0);
}
