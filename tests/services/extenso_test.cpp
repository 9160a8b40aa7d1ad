// The amount in words of the sale receipt.
#include <gtest/gtest.h>

#include <string>

#include "services/valor.h"

namespace {

std::string Extenso(const char* digitos) {
  char buf[kTamMaxExtenso + 1];
  ValorPorExtenso(digitos, buf, sizeof buf);
  return buf;
}

TEST(Extenso, Table) {
  struct Caso {
    const char* digitos;
    const char* texto;
  };
  const Caso casos[] = {
      {"1", "(Um Centavo de Real)"},
      {"100", "(Um Real)"},
      {"101", "(Um Real e Um Centavo)"},
      {"12345", "(Cento e Vinte e Tres Reais e Quarenta e Cinco Centavos)"},
      {"10000", "(Cem  Reais)"},
      {"1500000", "(Quinze Mil Reais)"},
      {"1500100", "(Quinze Mil, Um Reais)"},
      {"1500005", "(Quinze Mil Reais e Cinco Centavos)"},
      {"100000000", "(Um Milhao de Reais)"},
      {"200000000", "(Dois Milhoes de Reais)"},
      {"100000005", "(Um Milhao de Reais e Cinco Centavos)"},
      {"1700", "(Dezesete Reais)"},
      {"1600", "(Dezeseis Reais)"},
      {"1000", "(Dez Reais)"},
      {"1100", "(Onze Reais)"},
      {"11000", "(Cento e Dez Reais)"},
      {"20000", "(Duzentos Reais)"},
      {"2000", "(Vinte Reais)"},
      {"2100", "(Vinte e Um Reais)"},
      {"10", "(Dez Centavos de Real)"},
      {"99", "(Noventa e Nove Centavos de Real)"},
      {"100000", "(Um Mil Reais)"},
      {"100001", "(Um Mil Reais e Um Centavo)"},
      {"10000000000", "(Cem  Milhoes de Reais)"},
      {"100000000000", "(Um Bilhao de Reais)"},
      {"200000000099", "(Dois Bilhoes de Reais e Noventa e Nove Centavos)"},
      {"100100000000", "(Um Bilhao, Um Milhao de Reais)"},
      {"123456789012", "(Um Bilhao, Duzentos e Trinta e Quatro Milhoes, Quinhentos e Sessenta e Sete "
                       "Mil, Oitocentos e Noventa Reais e Doze Centavos)"},
      {"000000012345", "(Cento e Vinte e Tres Reais e Quarenta e Cinco Centavos)"},
      {"0", "(Zero centavos de Real)"},
      {"", "(Zero centavos de Real)"},
      {"000000000000", "(Zero centavos de Real)"},
  };
  for (const Caso& c : casos) EXPECT_EQ(Extenso(c.digitos), c.texto) << '"' << c.digitos << '"';
}

TEST(Extenso, LongestAmountFitsItsBound) {
  // Every group at its longest words.
  const std::string t = Extenso("77777777777777");
  EXPECT_EQ(t.front(), '(');
  EXPECT_EQ(t.back(), ')');
  EXPECT_LT(t.size(), kTamMaxExtenso);
  EXPECT_NE(t.find("Setecentos e Setenta e Sete Bilhoes,"), std::string::npos);
}

TEST(Extenso, NoWordsForWhatIsNoAmountOrDoesNotFit) {
  EXPECT_EQ(Extenso("12x"), "");
  EXPECT_EQ(Extenso("123456789012345"), "");   // 15 significant digits
  EXPECT_EQ(Extenso("000012345678901234"), Extenso("12345678901234"));
  char curto[10] = "xxxxxxxxx";
  ValorPorExtenso("100", curto, sizeof curto);  // "(Um Real)" needs 10 bytes
  EXPECT_STREQ(curto, "(Um Real)");
  char menor[9] = "xxxxxxxx";
  ValorPorExtenso("100", menor, sizeof menor);
  EXPECT_STREQ(menor, "");
}

}  // namespace
