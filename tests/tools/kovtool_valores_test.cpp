// kovtool extenso and kovtool valor through the real binary: the amount in
// words and the money text for the amounts whose rules are easy to get
// wrong (plural and singular, "Cem " with its space, the comma between
// groups, leading zeros, the 14-digit limit), and the refusal of texts that
// are no amount in cents.
#include <iterator>

#include "kovtool_apoio.h"

namespace {

struct Caso {
  const char* digitos;
  const char* texto;
};

void Confere(const char* comando, const Caso* casos, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const SaidaProcesso s = Kovtool({comando, casos[i].digitos});
    EXPECT_EQ(s.status, 0) << comando << " " << casos[i].digitos << ": " << s.err;
    EXPECT_EQ(s.out, std::string(casos[i].texto) + "\n") << comando << " " << casos[i].digitos;
    EXPECT_EQ(s.err, "");
  }
}

using KovtoolValores = KovtoolTeste;

TEST_F(KovtoolValores, ExtensoGivesTheReceiptText) {
  const Caso kCasos[] = {
      {"1", "(Um Centavo de Real)"},
      {"99", "(Noventa e Nove Centavos de Real)"},
      {"100", "(Um Real)"},
      {"101", "(Um Real e Um Centavo)"},
      {"1011", "(Dez Reais e Onze Centavos)"},
      {"12345", "(Cento e Vinte e Tres Reais e Quarenta e Cinco Centavos)"},
      {"10000", "(Cem  Reais)"},
      {"1600", "(Dezeseis Reais)"},
      {"1700", "(Dezesete Reais)"},
      {"100000", "(Um Mil Reais)"},
      {"200100", "(Dois Mil, Um Reais)"},
      {"1500000", "(Quinze Mil Reais)"},
      {"1500100", "(Quinze Mil, Um Reais)"},
      {"10000000", "(Cem  Mil Reais)"},
      {"100000000", "(Um Milhao de Reais)"},
      {"100000005", "(Um Milhao de Reais e Cinco Centavos)"},
      {"100000100", "(Um Milhao, Um Reais)"},
      {"200000000", "(Dois Milhoes de Reais)"},
      {"100000000000", "(Um Bilhao de Reais)"},
      {"100000000001", "(Um Bilhao de Reais e Um Centavo)"},
      {"123456789012",
       "(Um Bilhao, Duzentos e Trinta e Quatro Milhoes, Quinhentos e Sessenta e Sete Mil, "
       "Oitocentos e Noventa Reais e Doze Centavos)"},
      {"99999999999999",
       "(Novecentos e Noventa e Nove Bilhoes, Novecentos e Noventa e Nove Milhoes, "
       "Novecentos e Noventa e Nove Mil, Novecentos e Noventa e Nove Reais e Noventa e Nove "
       "Centavos)"},
      {"0000000100", "(Um Real)"},
      {"0", "(Zero centavos de Real)"},
      {"00000000000000", "(Zero centavos de Real)"},
  };
  Confere("extenso", kCasos, std::size(kCasos));
}

TEST_F(KovtoolValores, ValorGivesTheMoneyText) {
  const Caso kCasos[] = {
      {"5", "0,05"},
      {"45", "0,45"},
      {"100", "1,00"},
      {"12345", "123,45"},
      {"123456", "1.234,56"},
      {"100000", "1.000,00"},
      {"123456789", "1.234.567,89"},
      {"99999999999999", "999.999.999.999,99"},
      {"00100", "1,00"},
      {"0", "0,00"},
      {"000", "0,00"},
  };
  Confere("valor", kCasos, std::size(kCasos));
}

TEST_F(KovtoolValores, TextsThatAreNoAmountAreRefused) {
  struct Recusa {
    std::vector<std::string> args;
    const char* motivo;
  };
  const Recusa kRecusas[] = {
      {{""}, "the amount is empty"},
      {{"12a"}, "decimal digits"},
      {{"1,00"}, "decimal digits"},
      {{"-5"}, "decimal digits"},
      {{" 5"}, "decimal digits"},
      {{"123456789012345"}, "more than 14 digits"},
      {{}, "takes one amount in cents"},
      {{"1", "2"}, "takes one amount in cents"},
  };
  for (const char* comando : {"extenso", "valor"}) {
    for (const Recusa& r : kRecusas) {
      std::vector<std::string> args = r.args;
      args.insert(args.begin(), comando);
      EsperaRecusa(args, 2, r.motivo);
    }
  }
}

}  // namespace
