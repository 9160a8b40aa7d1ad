// kovsim's arguments: each bad one is refused with exit status 2 and a
// one-line reason on standard error, before any queue is touched.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/processo.h"

namespace {

TEST(KovsimUso, BadArgumentsAreRefusedWithOneLine) {
  DriveTemp drive;
  struct Caso {
    std::vector<std::string> args;
    std::string linha;
  } casos[] = {
      {{"nada"}, "kovsim: unknown stand-in 'nada'"},
      {{"pdv", "--bogus"}, "kovsim: pdv: unknown option '--bogus'"},
      {{"pdv", "--count"}, "kovsim: pdv: --count needs a value"},
      {{"pdv", "--send-hex", "abc"}, "kovsim: pdv: --send-hex takes an even, non-empty count of hex digits"},
      {{"pdv", "--queue", "+01"}, "kovsim: pdv: --queue takes 3 digits"},
      {{"pdv", "--queue", "0a1"}, "kovsim: pdv: --queue takes 3 digits"},
      {{"pdv", "--subtype", "3"}, "kovsim: pdv: --subtype takes 2 or 4"},
      {{"pdv", "--close", "--terminal", "T1"}, "kovsim: pdv: --close needs --terminal and --company"},
      {{"pdv", "--company", "123"}, "kovsim: pdv: --company takes the 8-character company code"},
      {{"drivers", "--kind", "128"}, "kovsim: drivers: --kind takes 0 to 127 (bit 7 is --obfuscated)"},
      {{"drivers", "--header", "0123"}, "kovsim: drivers: --header takes 8 characters"},
      {{"drivers", "--wait", "0"}, "kovsim: drivers: --wait takes milliseconds >= 1"},
  };
  for (const Caso& c : casos) {
    std::vector<std::string> argv = {KOV_BIN_KOVSIM};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const SaidaProcesso r = ExecutaProcesso(argv);
    EXPECT_EQ(r.status, 2) << c.linha;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.linha);
    EXPECT_EQ(r.out, "") << c.linha;
  }
}

}  // namespace
