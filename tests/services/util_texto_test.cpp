// Text and number routines: decimal conversions, integer to text, trimming,
// bounded copy, case-insensitive compare, wildcard match, upper case, hex.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "services/texto.h"

namespace {

TEST(UtilTexto, TextoParaIntRules) {
  struct Caso {
    const char* texto;
    long long esperado;
  };
  const Caso casos[] = {
      {"123", 123},      {"  \t-45xyz", -45},   {"+7", 7},
      {"", 0},           {"abc", 0},            {"-", 0},
      {" 12 34", 12},    {"0009", 9},           {"- 5", 0},
      {"9223372036854775807", LLONG_MAX},       {"99999999999999999999", LLONG_MAX},
      {"-9223372036854775808", LLONG_MIN},      {"-99999999999999999999", LLONG_MIN},
  };
  for (const Caso& c : casos) EXPECT_EQ(TextoParaInt(c.texto), c.esperado) << c.texto;
  EXPECT_EQ(TextoParaInt(nullptr), 0);
}

TEST(UtilTexto, TextoParaIntFixoReadsOnlyItsWidth) {
  EXPECT_EQ(TextoParaIntFixo("001234", 4), 12);
  EXPECT_EQ(TextoParaIntFixo("  42999", 4), 42);
  EXPECT_EQ(TextoParaIntFixo("-12", 2), -1);
  EXPECT_EQ(TextoParaIntFixo("12", 6), 12);  // a NUL ends it early
  EXPECT_EQ(TextoParaIntFixo("12", 0), 0);
  // A field that is not followed by a NUL is never read past its width.
  const char campo[3] = {'9', '8', '7'};
  EXPECT_EQ(TextoParaIntFixo(campo, 3), 987);
}

TEST(UtilTexto, IntParaTextoBasesAndLimits) {
  char buf[80];
  struct Caso {
    long long valor;
    int base;
    const char* esperado;
  };
  const Caso casos[] = {
      {0, 10, "0"},          {255, 16, "ff"},        {-255, 16, "-ff"},
      {5, 2, "101"},         {35, 36, "z"},          {123456, 10, "123456"},
      {LLONG_MIN, 10, "-9223372036854775808"},
      {-1, 2, "-1"},
      {LLONG_MAX, 2, "111111111111111111111111111111111111111111111111111111111111111"},
  };
  for (const Caso& c : casos) {
    ASSERT_EQ(IntParaTexto(c.valor, buf, sizeof buf, c.base), 0) << c.esperado;
    EXPECT_STREQ(buf, c.esperado);
  }
  EXPECT_EQ(IntParaTexto(1, buf, sizeof buf, 1), 22);
  EXPECT_EQ(IntParaTexto(1, buf, sizeof buf, 37), 22);
  EXPECT_EQ(IntParaTexto(1, buf, 0, 10), 22);
  EXPECT_EQ(IntParaTexto(-1, buf, 1, 10), 22);  // no room for the sign
  // Exactly fitting, and one short.
  EXPECT_EQ(IntParaTexto(1234, buf, 5, 10), 0);
  EXPECT_STREQ(buf, "1234");
  EXPECT_EQ(IntParaTexto(12345, buf, 5, 10), 34);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(IntParaTexto(-123, buf, 4, 10), 34);
}

TEST(UtilTexto, RemoveZerosAndApara) {
  struct Caso {
    const char* entrada;
    const char* sem_zeros;
    const char* aparado;
  };
  const Caso casos[] = {
      {"000120", "120", "000120"},
      {"0000", "", "0000"},
      {"", "", ""},
      {"  ab c  ", "  ab c  ", "ab c"},
      {"    ", "    ", ""},
      {"\tx ", "\tx ", "\tx"},  // only spaces are trimmed
  };
  for (const Caso& c : casos) {
    char a[32], b[32];
    std::strcpy(a, c.entrada);
    std::strcpy(b, c.entrada);
    RemoveZerosEsquerda(a);
    Apara(b);
    EXPECT_STREQ(a, c.sem_zeros) << '"' << c.entrada << '"';
    EXPECT_STREQ(b, c.aparado) << '"' << c.entrada << '"';
  }
}

TEST(UtilTexto, CopiaLimitadaResults) {
  char buf[6];
  std::memset(buf, 'X', sizeof buf);
  EXPECT_EQ(CopiaLimitada(buf, sizeof buf, "abcde"), 0);
  EXPECT_STREQ(buf, "abcde");
  EXPECT_EQ(CopiaLimitada(buf, sizeof buf, "abcdef"), 34);
  EXPECT_STREQ(buf, "abcde");
  EXPECT_EQ(CopiaLimitada(buf, 1, "abc"), 34);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(CopiaLimitada(buf, 0, "abc"), 22);
  EXPECT_EQ(CopiaLimitada(buf, sizeof buf, ""), 0);
  EXPECT_STREQ(buf, "");
}

TEST(UtilTexto, ComparaSemCaso) {
  EXPECT_EQ(ComparaSemCaso("GERAL", "geral"), 0);
  EXPECT_LT(ComparaSemCaso("abc", "ABD"), 0);
  EXPECT_GT(ComparaSemCaso("abd", "ABC"), 0);
  EXPECT_LT(ComparaSemCaso("ab", "abc"), 0);
  EXPECT_GT(ComparaSemCaso("abc", "AB"), 0);
  EXPECT_EQ(ComparaSemCasoN("TiqueX", "tiqueY", 5), 0);
  EXPECT_NE(ComparaSemCasoN("TiqueX", "tiqueY", 6), 0);
  EXPECT_EQ(ComparaSemCasoN("ab", "AB", 10), 0);
  // Bytes outside the letters compare as they are.
  EXPECT_NE(ComparaSemCaso("[", "{"), 0);
}

TEST(UtilTexto, CasaCuringa) {
  struct Caso {
    const char* padrao;
    const char* texto;
    bool com_caso;
    bool casa;
  };
  const Caso casos[] = {
      {"*", "", true, true},
      {"*", "anything", true, true},
      {"", "", true, true},
      {"", "a", true, false},
      {"arq_????.msg", "arq_0042.msg", true, true},
      {"arq_????.msg", "arq_042.msg", true, false},
      {"arq_*.msg", "arq_.msg", true, true},
      {"arq_*.msg", "arq_0001.msg.tmp", true, false},
      {"*.MSG", "arq_0001.msg", true, false},
      {"*.MSG", "arq_0001.msg", false, true},
      {"a*b*c", "aXXbYYbZZc", true, true},
      {"a*b*c", "aXXbYYbZZ", true, false},
      {"*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", true, false},
      {"?", "", true, false},
      {"**x", "x", true, true},
  };
  for (const Caso& c : casos)
    EXPECT_EQ(CasaCuringa(c.padrao, c.texto, c.com_caso), c.casa) << c.padrao << " / " << c.texto;
}

TEST(UtilTexto, MaiusculasOnlyLetters) {
  char s[] = "abz-AZ09{}~\xe9";
  Maiusculas(s);
  EXPECT_STREQ(s, "ABZ-AZ09{}~\xe9");
}

TEST(UtilTexto, HexBothWays) {
  const unsigned char bytes[] = {0x00, 0x1f, 0xa0, 0xff, 0x5c};
  char hex[16];
  BytesParaHex(bytes, sizeof bytes, hex);
  EXPECT_STREQ(hex, "001FA0FF5C");

  unsigned char volta[5] = {};
  ASSERT_EQ(HexParaBytes("001fA0Ff5c", 10, volta, sizeof volta), 0);
  EXPECT_EQ(0, std::memcmp(volta, bytes, sizeof bytes));

  unsigned char saida[4] = {1, 2, 3, 4};
  EXPECT_EQ(HexParaBytes("0G", 2, saida, sizeof saida), 22);
  EXPECT_EQ(HexParaBytes("ABC", 3, saida, sizeof saida), 22);
  EXPECT_EQ(HexParaBytes("0011223344", 10, saida, sizeof saida), 34);
  // A bad digit late in the text leaves the output untouched.
  EXPECT_EQ(HexParaBytes("1122x3", 6, saida, sizeof saida), 22);
  EXPECT_EQ(saida[0], 1);
  EXPECT_EQ(HexParaBytes("", 0, saida, sizeof saida), 0);
}

}  // namespace
