// The NSU mapping both ways and the scrambling of the card number.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "txlog/nsu.h"
#include "txlog/protecao.h"
#include "txlog/registro_log.h"

namespace {

struct CasoNsu {
  int64_t slot;
  int dia;
  const char* nsu;
};

TEST(Nsu, SlotsOfDayFiveAndBack) {
  const CasoNsu casos[] = {
      {1, 5, "050001"},     {9999, 5, "059999"},  {10000, 5, "360000"}, {20000, 5, "670000"},
      {30000, 5, "940000"}, {89999, 5, "999999"}, {15001, 5, "365001"}, {1, 31, "310001"},
      {10001, 31, "620001"}, {20001, 31, "930001"}, {0, 1, "010000"},
  };
  for (const auto& c : casos) {
    char nsu[7];
    ASSERT_EQ(NsuDoSlot(c.slot, c.dia, nsu), 0) << c.slot;
    EXPECT_STREQ(nsu, c.nsu) << "slot " << c.slot << " day " << c.dia;
    int64_t slot = -1;
    int dia = -1;
    ASSERT_EQ(SlotDoNsu(c.nsu, &slot, &dia), 0);
    EXPECT_EQ(slot, c.slot) << c.nsu;
    EXPECT_EQ(dia, c.slot >= 30000 ? 0 : c.dia) << c.nsu;
    EXPECT_TRUE(NsuDoDia(c.nsu, c.dia)) << c.nsu;
  }
}

TEST(Nsu, NoNsuFromSlot90000AndForBadArguments) {
  char nsu[7] = "xxxxxx";
  EXPECT_EQ(NsuDoSlot(90000, 5, nsu), -1010);
  EXPECT_EQ(NsuDoSlot(-1, 5, nsu), -1010);
  EXPECT_EQ(NsuDoSlot(1, 0, nsu), -1010);
  EXPECT_EQ(NsuDoSlot(1, 32, nsu), -1010);
  EXPECT_STREQ(nsu, "xxxxxx");
}

TEST(Nsu, MalformedTextsNameNoSlot) {
  int64_t slot;
  int dia;
  for (const char* t : {"", "12345", "12a456", "-12345", "000001", "009999"})
    EXPECT_EQ(SlotDoNsu(t, &slot, &dia), 1) << t;
  EXPECT_EQ(SlotDoNsu(nullptr, &slot, &dia), 1);
  EXPECT_FALSE(NsuDoDia("000001", 31));
}

TEST(Nsu, BelongsToDay) {
  EXPECT_TRUE(NsuDoDia("310001", 31));
  EXPECT_TRUE(NsuDoDia("620001", 31));
  EXPECT_TRUE(NsuDoDia("930001", 31));
  EXPECT_FALSE(NsuDoDia("300001", 31));
  EXPECT_TRUE(NsuDoDia("360000", 5));
  EXPECT_FALSE(NsuDoDia("360000", 4));
  EXPECT_FALSE(NsuDoDia("050001", 6));
  EXPECT_TRUE(NsuDoDia("940123", 17));   // the emergency area belongs to every day
}

TEST(Protecao, CardIsStoredScrambledAndComesBack) {
  for (const char* cartao : {"4761739001010010", "6062821234567890123", "0", "12", "9999999999999999999"}) {
    uint8_t area[kTamCartao] = {};
    std::memcpy(area, cartao, std::strlen(cartao));
    uint8_t original[kTamCartao];
    std::memcpy(original, area, sizeof area);
    EmbaralhaArea(area, sizeof area);
    EXPECT_GE(area[0], 'a') << cartao;
    EXPECT_LE(area[0], 'j') << cartao;
    EXPECT_EQ(area[0], 'a' + (cartao[0] - '0'));
    if (std::strlen(cartao) > 4) {
      EXPECT_EQ(std::string(reinterpret_cast<char*>(area), sizeof area).find(cartao + 1),
                std::string::npos)
          << "no clear digits left for " << cartao;
    }
    DesembaralhaArea(area, sizeof area);
    EXPECT_EQ(std::memcmp(area, original, sizeof area), 0) << cartao;
  }
}

TEST(Protecao, KnownStoredForms) {
  // Stored forms worked out independently from the scrambling rules.
  struct Caso {
    const char* cartao;
    uint8_t guardado[20];
  };
  const Caso casos[] = {
      {"4761739001010010",
       {0x65, 0x7a, 0x0e, 0x80, 0x17, 0xbf, 0x4e, 0xd0, 0x7e, 0x27, 0xaf, 0x36, 0xd8, 0x86, 0x0f,
        0x94, 0xea, 0x9b, 0x1b, 0xac}},
      {"6062821234567890123",
       {0x67, 0x7a, 0x08, 0xba, 0x4e, 0xd2, 0x7d, 0x0f, 0x96, 0x3e, 0xe5, 0x71, 0x24, 0xae, 0x59,
        0xe9, 0x9a, 0x44, 0xcd, 0x57}},
  };
  for (const auto& c : casos) {
    uint8_t area[20] = {};
    std::memcpy(area, c.cartao, std::strlen(c.cartao));
    EmbaralhaArea(area, 20);
    EXPECT_EQ(std::memcmp(area, c.guardado, 20), 0) << c.cartao;
  }
}

TEST(Protecao, MaskedCardKeepsOnlyFirstSixAndLastFour) {
  struct Caso {
    const char* cartao;
    const char* mascarado;
  };
  const Caso casos[] = {
      {"4761739001010010", "476173******0010"},
      {"6062821234567890123", "606282*********0123"},
      {"4761739001010", "476173***1010"},
      {"476173900101", "************"},   // too short to show any digit
      {"47617390010", "***********"},
      {"47617390A1010010", "****************"},
      {"", ""},
  };
  for (const auto& c : casos) {
    uint8_t area[kTamCartao] = {};
    std::memcpy(area, c.cartao, std::strlen(c.cartao));
    EmbaralhaArea(area, sizeof area);
    char saida[kTamCartao + 1];
    CartaoMascarado(area, sizeof area, saida, sizeof saida);
    EXPECT_STREQ(saida, c.mascarado) << c.cartao;
  }
}

TEST(Protecao, EmptyOrNonDigitAreaIsLeftAsItIs) {
  uint8_t vazio[20] = {};
  EmbaralhaArea(vazio, 20);
  for (uint8_t b : vazio) EXPECT_EQ(b, 0);
  uint8_t letra[20] = {'X', '1', '2'};
  EmbaralhaArea(letra, 20);
  EXPECT_EQ(letra[0], 'X');
  EXPECT_EQ(letra[1], '1');
  uint8_t nao_embaralhado[20] = {'z', '1'};
  DesembaralhaArea(nao_embaralhado, 20);
  EXPECT_EQ(nao_embaralhado[0], 'z');
}

}  // namespace
