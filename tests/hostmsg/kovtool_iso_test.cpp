// kovtool iso through the real binary: what encode packs, decode gives back
// (plain and JSON, from hex or from a file of the raw message), and both
// refuse malformed input with a reason and their exit statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "services/texto.h"
#include "support/drive.h"
#include "support/processo.h"

#ifdef KOVTOOL_BIN

namespace {

using Saida = SaidaProcesso;

// The arguments are written with shell quoting.
Saida Executa(const std::string& args) { return ExecutaShell(std::string(KOVTOOL_BIN) + " " + args); }

class KovtoolIso : public ::testing::Test {
 protected:
  DriveTemp drive_;   // cwd at <drive>/kovra/bin
};

TEST_F(KovtoolIso, DecodeGivesBackWhatEncodeBuilt) {
  Saida enc = Executa(
      "iso encode 0200 2=4111111111111111 3=003000 4=1500 41=T1 52=0123456789abcdef "
      "35=';4111111111111111=2512201?' 125=000123456 62='a \"b\\c'");
  ASSERT_EQ(enc.status, 0) << enc.err;
  ASSERT_FALSE(enc.out.empty());
  std::string hex = enc.out.substr(0, enc.out.size() - 1);

  Saida dec = Executa("iso decode " + hex);
  ASSERT_EQ(dec.status, 0) << dec.err;
  EXPECT_EQ(dec.out,
            "0200\n"
            "F000000020801004" "0000000000000008\n"
            "002 4111111111111111\n"
            "003 003000\n"
            "004 000000001500\n"
            "035 4111111111111111=2512201\n"
            "041 T1      \n"
            "052 0123456789ABCDEF\n"
            "062 a \"b\\c\n"
            "125 000123456\n");

  Saida json = Executa("iso decode --json " + hex);
  ASSERT_EQ(json.status, 0);
  EXPECT_EQ(json.out,
            "{\"mti\":\"0200\",\"bitmap\":\"F0000000208010040000000000000008\",\"fields\":{"
            "\"002\":\"4111111111111111\",\"003\":\"003000\",\"004\":\"000000001500\","
            "\"035\":\"4111111111111111=2512201\",\"041\":\"T1      \","
            "\"052\":\"0123456789ABCDEF\",\"062\":\"a \\\"b\\\\c\",\"125\":\"000123456\"}}\n");

  // The raw message in a file, named relative to the working directory.
  std::string bruto(hex.size() / 2, '\0');
  ASSERT_EQ(HexParaBytes(hex.data(), hex.size(), bruto.data(), bruto.size()), 0);
  drive_.escreve("kovra/bin/msg.bin", bruto);
  Saida arq = Executa("iso decode @msg.bin");
  EXPECT_EQ(arq.status, 0) << arq.err;
  EXPECT_EQ(arq.out, dec.out);
}

TEST_F(KovtoolIso, MalformedInputIsRefused) {
  struct Caso {
    const char* args;
    int status;
    const char* motivo;
  };
  const Caso kCasos[] = {
      {"iso decode 3032303030", 1, "invalid message: message shorter than its type and bitmap"},
      {"iso decode 303231304730303030303030303030303030303030", 1, "bitmap is not hexadecimal"},
      // 0210 with field 2 announcing 25 characters.
      {"iso decode 30323130343030303030303030303030303030303235", 1,
       "field 002 announces more characters than its maximum"},
      {"iso decode 3G", 2, "is not an even number of hexadecimal digits"},
      {"iso decode @missing.bin", 2, "missing.bin"},
      {"iso decode", 2, "HEX or @FILE missing"},
      {"iso encode 0200 4=12a4", 1, "field 004: DADOS INCONSISTENTES"},
      {"iso encode 0200 4=1234567890123", 1, "field 004: TAMANHO ERRADO"},
      {"iso encode 200 4=1", 2, "message type must be 4 digits"},
      {"iso encode 0200 1=8000000000000000", 2, "field 1 is set automatically"},
      {"iso encode 0200 4=1 4=2", 2, "field 004 given twice"},
      {"iso encode 0200 52=0G", 2, "field 052 is type b"},
      {"iso encode 0200 x4=1", 2, "is not NNN=VALUE"},
      {"iso", 2, "usage"},
  };
  for (const Caso& k : kCasos) {
    Saida s = Executa(k.args);
    EXPECT_EQ(s.status, k.status) << k.args;
    EXPECT_NE(s.err.find(k.motivo), std::string::npos) << k.args << ": " << s.err;
    EXPECT_EQ(s.err.find('\n'), s.err.size() - 1) << k.args << ": one line";
  }
}

TEST_F(KovtoolIso, SecondaryBitmapAddedForHighFields) {
  Saida enc = Executa("iso encode 0610 39=00 127=000123456");
  ASSERT_EQ(enc.status, 0) << enc.err;
  Saida dec = Executa("iso decode " + enc.out.substr(0, enc.out.size() - 1));
  EXPECT_EQ(dec.out, "0610\n" "8000000002000000" "0000000000000002\n" "039 00\n" "127 000123456\n");
}

}  // namespace

#endif
