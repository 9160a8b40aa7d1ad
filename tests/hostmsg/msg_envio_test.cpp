// The request definitions and their assembly: the ten definitions and the
// 0202 in order, the key search of both modes, the secondary bitmap of every
// request, declined fields, a failing builder and the placeholders that
// GravaLog fills.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/msg_envio.h"
#include "hostmsg_teste.h"
#include "kovtiquetal/registros.h"

namespace {

std::vector<int> Numeros(const DefinicaoEnvio& d) {
  std::vector<int> v;
  for (int i = 0; i < d.num_campos; ++i) v.push_back(d.campos[i].numero);
  return v;
}

TEST(TabEnvio, DefinitionsInOrder) {
  const std::vector<int> kCancelamento = {1,  2,  3,  4,  7,  11, 12, 13, 22, 32,
                                          39, 41, 42, 48, 49, 61, 64, 67, 90, 125};
  struct Esperada {
    int codigo;
    const char* tipo;
    std::vector<int> campos;
  };
  const Esperada kEsperadas[] = {
      {12, "0800", {1, 3, 7, 11, 42, 47, 48, 70}},
      {'0', "0200", {1, 3, 4, 7, 11, 12, 13, 22, 32, 35, 41, 42, 48, 49, 52, 61, 62, 63, 67, 104, 120}},
      {'2', "0200", {1, 2, 3, 4, 7, 11, 12, 13, 14, 22, 32, 41, 42, 48, 49, 52, 61, 62, 63, 67, 104, 120}},
      {'6', "0400", kCancelamento},
      {'7', "0400", kCancelamento},
      {0, "0420", {1, 2, 3, 4, 7, 11, 13, 14, 22, 32, 35, 39, 41, 42, 49, 61, 90}},
      {0, "0610", {1, 7, 11, 12, 13, 39, 41, 42, 125, 127}},
      {' ', "0200", {1, 3, 4, 7, 11, 12, 13, 22, 23, 32, 35, 41, 42, 48, 49, 52, 55, 61, 62, 63, 67, 104, 120}},
      {'#', "0400", kCancelamento},
      {')', "0100", {1, 3, 7, 11, 12, 13, 22, 35, 41, 42, 52, 61, 63, 104}},
  };
  for (int i = 0; i < kNumDefinicoesEnvio; ++i) {
    EXPECT_EQ(TabEnvio[i].codigo, kEsperadas[i].codigo) << i;
    EXPECT_STREQ(TabEnvio[i].tipo, kEsperadas[i].tipo) << i;
    EXPECT_EQ(Numeros(TabEnvio[i]), kEsperadas[i].campos) << i;
  }
  EXPECT_STREQ(TabConfirmacao.tipo, "0202");
  EXPECT_EQ(Numeros(TabConfirmacao), (std::vector<int>{1, 3, 4, 7, 11, 22, 32, 39, 41, 42, 49, 127}));
  // The stripe and typed cancellations differ in the builder of field 2 only;
  // the debit cancellation shares the stripe one's.
  for (int i = 0; i < TabEnvio[3].num_campos; ++i) {
    EXPECT_EQ(TabEnvio[3].campos[i].monta, TabEnvio[8].campos[i].monta);
    if (TabEnvio[3].campos[i].numero != 2) {
      EXPECT_EQ(TabEnvio[3].campos[i].monta, TabEnvio[4].campos[i].monta);
    }
  }
  EXPECT_NE(TabEnvio[3].campos[1].monta, TabEnvio[4].campos[1].monta);
}

class MontaTeste : public HostMsgTeste {};

TEST_F(MontaTeste, UnknownKeysFindNoDefinition) {
  struct Caso {
    int modo;
    const char* chave;
    const char* console;
  };
  const Caso kCasos[] = {
      {MODO_CODIGO, "$", "Erro Consistencia: TRN INDEFINIDA\n24  \n"},
      {MODO_CODIGO, "8", "Erro Consistencia: TRN INDEFINIDA\n38  \n"},
      // Code 0 belongs to the definitions looked up by message type only.
      {MODO_CODIGO, "", "Erro Consistencia: TRN INDEFINIDA\n\n"},
      {MODO_TIPO, "0300", "Erro Consistencia: TRN INDEFINIDA\n30  33  30  30  \n"},
  };
  for (const Caso& k : kCasos) {
    EXPECT_EQ(Monta(k.modo, k.chave), 2) << k.chave;
    EXPECT_EQ(console_, k.console);
  }
}

TEST_F(MontaTeste, EveryRequestCarriesTheSecondaryBitmap) {
  PreparaVendaTarja();
  ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0) << console_;
  std::string tipo, bitmap;
  Campos c = Separa(msg_, &tipo, &bitmap);
  EXPECT_EQ(tipo, "0200");
  ASSERT_EQ(bitmap.size(), 32u);
  EXPECT_GE(bitmap[0], '8');
  // 67 is the only field above 64 that a stripe sale sends: 104 and 120 are
  // declined and leave no trace.
  EXPECT_EQ(bitmap.substr(16), "2000000000000000");
  EXPECT_EQ(c.count(104), 0u);
  EXPECT_EQ(c.count(120), 0u);
  EXPECT_EQ(c[67], "01");
  EXPECT_EQ(msg_.substr(msg_.size() - 2), "01");
  EXPECT_EQ(MsgEnvio.tamanho, msg_.size());
}

TEST_F(MontaTeste, PlaceholdersAreRecordedForTheLog) {
  PreparaVendaTarja();
  ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0);
  struct Caso {
    int campo;
    const char* valor;
  };
  const Caso kCasos[] = {{7, "0305101112"}, {11, "050001"}, {12, "101112"}, {13, "0305"}};
  for (const Caso& k : kCasos) {
    char* p = EnderecoCampo(k.campo);
    ASSERT_NE(p, nullptr) << k.campo;
    EXPECT_EQ(std::string(p, std::strlen(k.valor)), std::string(std::strlen(k.valor), '0'));
    std::memcpy(p, k.valor, std::strlen(k.valor));
  }
  Campos c = Separa(std::string(buffer_, MsgEnvio.tamanho));
  for (const Caso& k : kCasos) EXPECT_EQ(c[k.campo], k.valor);
  EXPECT_EQ(EnderecoCampo(4), nullptr);

  // The next build starts without recorded positions; the 0202 has none.
  std::memcpy(RegLog.Nsu, "050001", 7);
  ASSERT_EQ(MontaConfirmacao(), 0);
  EXPECT_EQ(EnderecoCampo(7), nullptr);
  EXPECT_EQ(EnderecoCampo(11), nullptr);
}

TEST_F(MontaTeste, AFailingBuilderEndsTheBuild) {
  PreparaVendaTarja();
  static const char kProdutoComSenha[] = "01C...................................S00..";
  TransacaoPdv.ProdutoCartao = kProdutoComSenha;
  EXPECT_EQ(Monta(MODO_CODIGO, "0"), 11);
  EXPECT_EQ(console_, "");
  // The fields before 52 are in the buffer, the bitmap was never closed.
  EXPECT_GT(MsgEnvio.tamanho, 36);
  EXPECT_EQ(std::string(buffer_ + 4, 32), std::string(32, '0'));
}

TEST_F(MontaTeste, AnswerTo0600EchoesItsFields) {
  // A 0600 with fields 1, 7, 11, 12, 13, 42, 125 and 127, without 41.
  const std::string m0600 = std::string("0600") + "8238000000400000" + "000000000000000A" +
                            "0305101112" + "050001" + "101112" + "0305" + "12345          " +
                            "012000000050001" + "009123456789";
  struct Caso {
    const char* codigo;
    const char* enviado;
  };
  const Caso kCasos[] = {{"51", "51"}, {"80", "77"}, {"", "77"}, {"09", "09"}};
  for (const Caso& k : kCasos) {
    ASSERT_TRUE(CarregaMsgResposta(m0600.data(), m0600.size()));
    ASSERT_TRUE(LeCabecalho() && LocalizaCampos(16));
    DefineCodResposta0610(k.codigo);
    ASSERT_EQ(Monta(MODO_TIPO, "0610"), 0) << console_;
    std::string tipo, bitmap;
    Campos c = Separa(msg_, &tipo, &bitmap);
    EXPECT_EQ(tipo, "0610");
    EXPECT_EQ(bitmap, "8238000002400000000000000000000A");
    EXPECT_EQ(c[7], "0305101112");
    EXPECT_EQ(c[11], "050001");
    EXPECT_EQ(c[12], "101112");
    EXPECT_EQ(c[13], "0305");
    EXPECT_EQ(c[39], k.enviado);
    EXPECT_EQ(c.count(41), 0u);
    EXPECT_EQ(c[42], "12345          ");
    EXPECT_EQ(c[125], "000000050001");
    EXPECT_EQ(c[127], "123456789");
  }
}

}  // namespace
