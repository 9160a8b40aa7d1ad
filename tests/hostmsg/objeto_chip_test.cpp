// Chip data objects in hexadecimal text: templates, long lengths, removal and
// text that is not well formed.
#include <gtest/gtest.h>

#include <string>

#include "hostmsg/objeto_chip.h"

namespace {

std::string Valor(const std::string& dados, const char* tag) {
  size_t pos, tam;
  if (!BuscaObjetoChip(dados.c_str(), tag, &pos, &tam)) return "<none>";
  return dados.substr(pos, tam);
}

TEST(ObjetoChip, Search) {
  struct Caso {
    std::string dados;
    const char* tag;
    std::string valor;
  };
  const std::string v256(512, 'A');
  const Caso kCasos[] = {
      {"5F340101", "5F34", "01"},
      {"5f340101", "5F34", "01"},
      {"70099F2602AAAA5F340102", "5F34", "02"},          // inside template 70
      {"700B9F2602AAAAA5045F340103", "5F34", "03"},      // 70 > A5 > 5F34
      {"8282" "0100" + v256 + "5F340104", "5F34", "04"}, // 0x82 length: 256 bytes
      {"9F26820100" + v256, "9F26", v256},
      {"5A0812345678", "5F34", "<none>"},                // value runs past the end
      {"5F3483000001", "5F34", "<none>"},                // length form 0x83
      {"5F34", "5F34", "<none>"},
      {"", "5F34", "<none>"},
      {"5FZZ0101", "5F34", "<none>"},
      {"9F3401015F340105", "5F34", "05"},
  };
  for (const Caso& k : kCasos) EXPECT_EQ(Valor(k.dados, k.tag), k.valor) << k.dados;
}

TEST(ObjetoChip, Removal) {
  char dados[] = "9F2602ABCD5F3401018202AAAA";
  EXPECT_TRUE(RemoveObjetoChip(dados, "5F34"));
  EXPECT_STREQ(dados, "9F2602ABCD8202AAAA");
  EXPECT_FALSE(RemoveObjetoChip(dados, "5F34"));
  EXPECT_STREQ(dados, "9F2602ABCD8202AAAA");
  char fim[] = "5F340101";
  EXPECT_TRUE(RemoveObjetoChip(fim, "5F34"));
  EXPECT_STREQ(fim, "");
}

TEST(ObjetoChip, RemovalShortensTheTemplatesAroundIt) {
  struct Caso {
    std::string dados;
    std::string resto;
  };
  // Data objects of 196 and of 261 bytes, to fill templates with long lengths.
  const std::string df01_196 = "DF0181C0" + std::string(384, 'A');
  const std::string df01_261 = "DF01820100" + std::string(512, 'A');
  const Caso kCasos[] = {
      {"70099F2602AAAA5F3401029F340101", "70059F2602AAAA9F340101"},
      {"700B9F2602AAAAA5045F3401038202AAAA", "70079F2602AAAAA5008202AAAA"},
      {"7081C8" + df01_196 + "5F340104" "8202AAAA", "7081C4" + df01_196 + "8202AAAA"},
      {"70820109" + df01_261 + "5F340105" "8202AAAA", "70820105" + df01_261 + "8202AAAA"},
  };
  for (const Caso& k : kCasos) {
    std::string dados = k.dados;
    ASSERT_TRUE(RemoveObjetoChip(dados.data(), "5F34")) << k.dados;
    EXPECT_STREQ(dados.c_str(), k.resto.c_str());
  }
}

}  // namespace
