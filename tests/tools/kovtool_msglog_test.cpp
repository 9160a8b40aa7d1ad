// kovtool msglog through the real binary: the lines spooled by the module's
// own message-log writer and by hand, listed in number order whatever order
// the directory gives, other files ignored, a damaged record reported while
// the rest is listed, and a directory that cannot be read refused.
#include <string>

#include "kovtool_apoio.h"
#include "services/trace.h"

namespace {

class KovtoolMsglog : public KovtoolTeste {
 protected:
  void SetUp() override { ReiniciaTrace(); }
  void TearDown() override { ReiniciaTrace(); }

  // A 264-byte spool record: the origin in 8 bytes, the text in 256, both
  // zero-filled.
  void Spool(int n, const std::string& origem, const std::string& texto) {
    std::string reg(kTamRegistroSpool, '\0');
    reg.replace(0, origem.size(), origem);
    reg.replace(8, texto.size(), texto);
    char nome[32];
    std::snprintf(nome, sizeof nome, "kovra/tmp/arq_%04d.msg", n);
    drive_.escreve(nome, reg);
  }
};

TEST_F(KovtoolMsglog, LinesInNumberOrder) {
  const std::string cheio(256, 'x');   // fills the field: no terminating zero
  Spool(10, "ORIGEM01", cheio);
  Spool(2, "Kov", "tab\there");
  drive_.escreve("kovra/tmp/arq_Ab3xYz.tmp", std::string(kTamRegistroSpool, 'T'));
  drive_.escreve("kovra/tmp/arq_0004.msg.old", std::string(kTamRegistroSpool, 'O'));
  drive_.escreve("kovra/tmp/leiame.txt", "nada");
  EscreveMensagem("Linha um");     // takes 0
  EscreveMensagem("Linha dois");   // takes 1
  EscreveMensagem("Linha tres");   // 2 is taken: 3

  const std::string esperado =
      "arq_0000.msg  KovTique  Linha um\n"
      "arq_0001.msg  KovTique  Linha dois\n"
      "arq_0002.msg  Kov       tab.here\n"
      "arq_0003.msg  KovTique  Linha tres\n"
      "arq_0010.msg  ORIGEM01  " + cheio + "\n";
  for (const char* dir : {"", "/kovra/./tmp", "\\Kovra\\TMP", "../tmp"}) {
    std::vector<std::string> args = {"msglog"};
    if (*dir != '\0') args.push_back(dir);
    const SaidaProcesso s = Kovtool(args);
    EXPECT_EQ(s.status, 0) << dir << ": " << s.err;
    EXPECT_EQ(s.out, esperado) << dir;
  }
  // Listing moves and deletes nothing.
  EXPECT_TRUE(drive_.existe("kovra/tmp/arq_0000.msg"));
  EXPECT_TRUE(drive_.existe("kovra/tmp/arq_Ab3xYz.tmp"));
}

TEST_F(KovtoolMsglog, NamesInAnyLetterCaseAreListed) {
  Spool(1, "Kov", "um");
  std::string reg(kTamRegistroSpool, '\0');
  reg.replace(8, 4, "tres");
  drive_.escreve("kovra/tmp/ARQ_0003.MSG", reg);
  EscreveMensagem("dois");   // takes 0
  const SaidaProcesso s = Kovtool({"msglog"});
  EXPECT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(s.out,
            "arq_0000.msg  KovTique  dois\n"
            "arq_0001.msg  Kov       um\n"
            "ARQ_0003.MSG            tres\n");
}

TEST_F(KovtoolMsglog, DamageAndBadArguments) {
  Spool(1, "Kov", "boa");
  drive_.escreve("kovra/tmp/arq_0000.msg", "curto");
  const SaidaProcesso s = Kovtool({"msglog"});
  EXPECT_EQ(s.status, 1);
  EXPECT_EQ(s.out, "arq_0001.msg  Kov       boa\n");
  EXPECT_EQ(s.err, "kovtool: msglog: arq_0000.msg: not a 264-byte message-log record\n");

  EsperaRecusa({"msglog", "/kovra/nada"}, 1, "cannot list");
  EsperaRecusa({"msglog", "a", "b"}, 2, "at most one directory");
  EsperaRecusa({"msglog", ""}, 2, "empty directory name");
}

}  // namespace
