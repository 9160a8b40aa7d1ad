// Wildcard match and case-insensitive name equality of the file layer.
#include <gtest/gtest.h>

#include "nvpr/nv_nomes.h"

namespace {

TEST(NomeCasa, Patterns) {
  struct Caso {
    const char* padrao;
    const char* nome;
    bool casa;
  };
  const Caso casos[] = {
      {"*", "", true},          {"*", "abc", true},          {"", "", true},
      {"", "a", false},         {"a", "", false},            {"abc", "ABC", true},
      {"a?c", "abc", true},     {"a?c", "ac", false},        {"?", "", false},
      {"*.dat", "LOG.DAT", true}, {"*.dat", "log.dat.bak", false}, {"log_*", "LOG_", true},
      {"*a*b*c", "xaybzc", true}, {"*a*b*c", "xaybz", false}, {"a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaa", false},
      {"**", "x", true},        {"*.*", "semponto", true},   {"*.?", "a.b", true},
      {"[a]", "[A]", true},     {"é", "é", true},
  };
  for (const auto& c : casos) EXPECT_EQ(NV_NomeCasa(c.padrao, c.nome), c.casa) << c.padrao << " " << c.nome;
}

TEST(NomesIguais, AsciiCaseOnly) {
  EXPECT_TRUE(NV_NomesIguais("Kovra", "kOVRA"));
  EXPECT_TRUE(NV_NomesIguais("", ""));
  EXPECT_FALSE(NV_NomesIguais("kovra", "kovr"));
  EXPECT_FALSE(NV_NomesIguais("a[", "A{"));   // '[' and '{' are not a case pair
}

}  // namespace
