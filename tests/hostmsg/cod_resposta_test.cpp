// The reply texts: response codes of the host and results of a build.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "hostmsg/cod_resposta.h"

namespace {

TEST(CodResposta, DisplayTexts) {
  struct Caso {
    const char* codigo;
    const char* texto;
    int byte;
  };
  const Caso kCasos[] = {
      {"00", "Transacao OK    ", 0},   {"51", "51 Excede Limite", 51},
      {"09", "09", 9},                 {"05", "05", 5},
      {" 5", " 5", 255},               {"XY", "XY", 255},
      {"99", "99 Ligue cartao ", 99},  {"70", "70 MOTOR./ERRADO", 70},
      {"5", "5", 255},
  };
  for (const Caso& k : kCasos) {
    EXPECT_STREQ(BuscaCodResposta(k.codigo), k.texto) << k.codigo;
    EXPECT_EQ(ByteResultadoCodigo(k.codigo), k.byte) << k.codigo;
  }
}

TEST(CodResposta, TableShape) {
  std::set<std::string> codigos;
  for (const LinhaCodResposta& l : TabCodResposta) {
    codigos.insert(l.codigo);
    EXPECT_EQ(std::strlen(l.codigo), 2u);
    EXPECT_EQ(std::strlen(l.texto), std::strcmp(l.codigo, "09") == 0 ? 2u : 16u) << l.codigo;
  }
  EXPECT_EQ(codigos.size(), 59u);
}

TEST(CodResposta, BuildResults) {
  struct Caso {
    int resultado;
    const char* texto;
    const char* codigo;
  };
  const Caso kCasos[] = {
      {2, "Trn. indefinida ", "S2"}, {3, "Campo indefinido", "V1"}, {5, "Dados inconsist.", "S7"},
      {6, "Tamanho invalido", "S6"}, {9, "DOC nao existe  ", "S3"}, {10, "Dados invalidos ", "S4"},
      {11, "Senha invalida  ", "S8"}, {14, "Aprovado        ", "00"}, {38, "Er.param.trilhas", "FF"},
      {7, "ERRO", "FF"},             {0, "ERRO", "FF"},             {-1, "ERRO", "FF"},
  };
  for (const Caso& k : kCasos) {
    char texto[17], codigo[3];
    std::memset(texto, '#', sizeof texto);
    std::memset(codigo, '#', sizeof codigo);
    TextoResultado(k.resultado, texto, codigo);
    EXPECT_STREQ(texto, k.texto) << k.resultado;
    EXPECT_STREQ(codigo, k.codigo) << k.resultado;
  }
  char codigo[3];
  TextoResultado(9, nullptr, codigo);
  EXPECT_STREQ(codigo, "S3");
  char texto[17];
  TextoResultado(11, texto, nullptr);
  EXPECT_STREQ(texto, "Senha invalida  ");
}

}  // namespace
