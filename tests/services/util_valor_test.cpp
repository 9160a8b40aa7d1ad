// The amount in figures ("1.234,56") and the check of operator amount texts.
#include <gtest/gtest.h>

#include <string>

#include "services/valor.h"

namespace {

std::string Formata(const char* digitos) {
  char buf[64];
  FormataValor(digitos, buf, sizeof buf);
  return buf;
}

TEST(UtilValor, FormataValorTable) {
  struct Caso {
    const char* digitos;
    const char* texto;
  };
  const Caso casos[] = {
      {"100", "1,00"},
      {"5", "0,05"},
      {"45", "0,45"},
      {"123456789", "1.234.567,89"},
      {"", "0,00"},
      {"0", "0,00"},
      {"000000000000", "0,00"},
      {"000000012345", "123,45"},
      {"12345", "123,45"},
      {"123456", "1.234,56"},
      {"99999", "999,99"},
      {"100000", "1.000,00"},
      {"12345678901234", "123.456.789.012,34"},
  };
  for (const Caso& c : casos) EXPECT_EQ(Formata(c.digitos), c.texto) << '"' << c.digitos << '"';
}

TEST(UtilValor, FormataValorRefusesWhatIsNoAmountOrDoesNotFit) {
  EXPECT_EQ(Formata("12a4"), "");
  EXPECT_EQ(Formata("-100"), "");
  EXPECT_EQ(Formata(" 100"), "");
  EXPECT_EQ(Formata(nullptr), "0,00");

  char curto[5];
  FormataValor("123456", curto, sizeof curto);  // "1.234,56" needs 9 bytes
  EXPECT_STREQ(curto, "");
  char justo[9];
  FormataValor("123456", justo, sizeof justo);
  EXPECT_STREQ(justo, "1.234,56");
}

TEST(UtilValor, MotivoValorInvalido) {
  EXPECT_EQ(MotivoValorInvalido("1"), nullptr);
  EXPECT_EQ(MotivoValorInvalido("12345678901234"), nullptr);
  EXPECT_EQ(MotivoValorInvalido("00000000000000"), nullptr);
  EXPECT_NE(MotivoValorInvalido(""), nullptr);
  EXPECT_NE(MotivoValorInvalido(nullptr), nullptr);
  EXPECT_NE(MotivoValorInvalido("12,50"), nullptr);
  EXPECT_NE(MotivoValorInvalido("123456789012345"), nullptr);
}

}  // namespace
