// The brand tables: the range grammar of the keys, the load of the credit
// and debit sections with its limits, and the look-up of a card's brand
// with the narrowest range winning.
#include <cstdio>
#include <string>

#include "basico/prod_fixture.h"
#include "basico/prodkovra_faixa.h"

namespace {

struct CasoFaixa {
  const char* chave;
  bool valida;
  int inicio, fim;
};

TEST(FaixaBandeira, KeysFollowTheRangeGrammar) {
  const CasoFaixa casos[] = {
      {"4-4", true, 400000000, 499999999},
      {"45-45", true, 450000000, 459999999},
      {"5?1", true, 501000000, 591999999},       // "?" is the pad digit at its place
      {"45", true, 450000000, 459999999},        // no end: the start again
      {"--4-5", true, 400000000, 599999999},     // leading "-" skipped
      {"4-", true, 400000000, 499999999},
      {"4-1234567890", true, 400000000, 499999999},   // end too long: the start again
      {"123456789-123456789", true, 123456789, 123456789},
      {"?", true, 0, 999999999},
      {"606282-606282", true, 606282000, 606282999},
      {"1234567890", false, 0, 0},   // start too long
      {"-", false, 0, 0},
      {"", false, 0, 0},
      {"4a", false, 0, 0},
      {"4-5-6", false, 0, 0},
      {"5-4", false, 0, 0},          // reversed
      {"46-45", false, 0, 0},        // reversed once padded
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.chave);
    int a = -1, b = -1;
    EXPECT_EQ(InterpretaFaixaBandeira(c.chave, &a, &b), c.valida);
    if (c.valida) {
      EXPECT_EQ(a, c.inicio);
      EXPECT_EQ(b, c.fim);
    }
  }
}

TEST(FaixaBandeira, ValuesAreFiveDigits) {
  int codigo = -1;
  EXPECT_TRUE(InterpretaCodigoBandeira("00054", &codigo));
  EXPECT_EQ(codigo, 54);
  for (const char* ruim : {"0054", "000054", "0005A", " 0054", ""}) EXPECT_FALSE(InterpretaCodigoBandeira(ruim, &codigo)) << ruim;
}

using TabelasBandeira = RegistroTeste;

TEST_F(TabelasBandeira, TheNarrowestRangeHoldingTheCardGivesItsBrand) {
  EscreveBandeiras("4-4=00001\n45-45=00054\n5?1=00002\n40-41=00010\n41-42=00011\n",
                   "6-6=00003\n");
  EXPECT_EQ(BandeirasHabilitadas(), 1);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraCredito), 5);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraDebito), 1);
  struct {
    int tabela;
    const char* cartao;
    int esperado;
  } casos[] = {
      {1, "4512345678901234", 54},  {1, "4912345678901234", 1},
      {1, "5012345678", 2},          {1, "591999999", 2},
      {1, "592000000", kBandSemCasamento},
      {1, "415000000", 10},          // same width: the lower start wins
      {1, "425000000", 11},
      {1, "45123A789", kBandSemCasamento},   // a letter in the first 9 characters
      {1, "45123", kBandSemCasamento},
      {2, "6000000000", 3},          {2, "4512345678901234", kBandSemCasamento},
      {3, "4512345678901234", kBandSeletorInvalido},
      {3, "4512A", kBandSemCasamento},   // the card is judged first
  };
  for (const auto& c : casos) EXPECT_EQ(BuscaBandeira(c.tabela, c.cartao), c.esperado) << c.cartao;
  EXPECT_EQ(BuscaBandeira(1, nullptr), kBandSemCasamento);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraCredito), kBandJaCarregada);
}

TEST_F(TabelasBandeira, LoadResultsFollowTheSwitchSelectorAndSections) {
  EXPECT_EQ(BandeirasHabilitadas(), 0);   // no brand file
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraCredito), kBandDesabilitada);
  for (const char* habilita : {"0", "10", "sim"}) {
    EscreveBandeiras("4-4=00001\n", "", habilita);
    EXPECT_EQ(BandeirasHabilitadas(), 0) << habilita;
    EXPECT_EQ(CarregaBandeiras(7), kBandDesabilitada) << habilita;
  }
  // Bad entries only in credit, nothing in debit.
  EscreveBandeiras("4-4=0001\n5-4=00002\nx=00003\n6-6=000004\n");
  EXPECT_EQ(BandeirasHabilitadas(), 1);
  EXPECT_EQ(CarregaBandeiras(0), kBandSeletorInvalido);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraCredito), kBandSemFaixas);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraDebito), kBandSemFaixas);
  EXPECT_EQ(BuscaBandeira(kTabBandeiraCredito, "400000000"), kBandNaoCarregada);
  EXPECT_EQ(BuscaBandeira(kTabBandeiraDebito, "400000000"), kBandNaoCarregada);
}

// n keys "1x01".."1xNN" (malformed) listed before one good key "2-2".
std::string RuinsAntesDeUmaBoa(int n) {
  std::string s;
  char linha[32];
  for (int i = 1; i <= n; ++i) {
    std::snprintf(linha, sizeof linha, "1x%02d=00001\n", i);
    s += linha;
  }
  return s + "2-2=00002\n";
}

TEST_F(TabelasBandeira, TheLoadStopsAfterTwentyOneBadEntries) {
  EscreveBandeiras(RuinsAntesDeUmaBoa(20), RuinsAntesDeUmaBoa(21));
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraCredito), 1);
  EXPECT_EQ(BuscaBandeira(kTabBandeiraCredito, "200000000"), 2);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraDebito), kBandSemFaixas);
}

// n distinct one-prefix ranges, as short or as long keys.
std::string MuitasFaixas(int n, bool longas) {
  std::string s;
  char linha[48];
  for (int i = 0; i < n; ++i) {
    if (longas) std::snprintf(linha, sizeof linha, "%09d-%09d=00007\n", 100000000 + i, 100000000 + i);
    else std::snprintf(linha, sizeof linha, "%d=00007\n", 100000 + i);
    s += linha;
  }
  return s;
}

TEST_F(TabelasBandeira, ATableHoldsAtMostFiveThousandRanges) {
  // 6000 long keys do not even fit the key list: the keys that fit load.
  EscreveBandeiras(MuitasFaixas(5001, false), MuitasFaixas(6000, true));
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraCredito), kMaxFaixasBandeira);
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraDebito), kMaxFaixasBandeira);
  EXPECT_EQ(BuscaBandeira(kTabBandeiraDebito, "100000000"), 7);
}

}  // namespace
