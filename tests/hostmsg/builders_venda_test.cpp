// The builders of sales, authorisations and table-load requests: how the
// card travels (stripe or typed), instalments, the PIN rules, the fuel data
// of field 62, the chip fields and field 3 of the 0800.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/msg_envio.h"
#include "hostmsg_teste.h"
#include "kovtiquetal/registros.h"

namespace {

class VendaTeste : public HostMsgTeste {
 protected:
  void SetUp() override {
    HostMsgTeste::SetUp();
    PreparaVendaTarja();
  }
  // A product entry of 44 characters whose position 38 is the PIN flag.
  void Produto(char flag) {
    std::memset(produto_, '.', 44);
    produto_[38] = flag;
    produto_[44] = 0;
    TransacaoPdv.ProdutoCartao = produto_;
  }
  char produto_[45];
};

TEST_F(VendaTeste, StripeAgainstTypedCard) {
  ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0) << console_;
  Campos c = CamposMontados();
  EXPECT_EQ(c[22], "021");
  EXPECT_EQ(c[35], "4111111111111111=25122010000012345678");
  EXPECT_EQ(c.count(2) + c.count(14), 0u);
  EXPECT_EQ(c[3], "003000");
  EXPECT_EQ(c[4], "000000001500");
  EXPECT_EQ(c[32], "41111111111");
  EXPECT_EQ(c[41], "PDV00001");
  EXPECT_EQ(c[42], "12345          ");
  EXPECT_EQ(c[48], "003");
  EXPECT_EQ(c[49], "076");
  EXPECT_EQ(c[61], "84845100");
  EXPECT_STREQ(RegLog.Cartao, "4111111111111111");
  EXPECT_EQ(std::string(RegLog.ModoEntrada, 3), "021");
  EXPECT_STREQ(RegLog.Adquirente, "41111111111");
  EXPECT_STREQ(RegLog.Estabelecimento, "12345          ");
  EXPECT_STREQ(RegLog.Valor, "1500");
  EXPECT_STREQ(RegLog.Parcelas, "01");

  ReiniciaRegistros();
  EmpresaAtual = &empresa_;
  std::memcpy(RegLog.Terminal, "PDV00001", 8);
  TransacaoPdv.CodTrn = '2';
  TransacaoPdv.Entrada = '2';
  std::strcpy(TransacaoPdv.CodProcessamento, "003000");
  std::strcpy(TransacaoPdv.Cartao, "5555666677778888");
  std::strcpy(TransacaoPdv.Valor, "990");
  std::strcpy(TransacaoPdv.Validade, "2712");
  ASSERT_EQ(Monta(MODO_CODIGO, "2"), 0) << console_;
  c = CamposMontados();
  EXPECT_EQ(c[22], "011");
  EXPECT_EQ(c[2], "5555666677778888");
  EXPECT_EQ(c[14], "2712");
  EXPECT_EQ(c.count(35), 0u);
  EXPECT_STREQ(RegLog.Cartao, "5555666677778888");
  EXPECT_STREQ(RegLog.Validade, "2712");
}

TEST_F(VendaTeste, EmptyEstablishmentCodeGoesAsSpaces) {
  empresa_.Estab->CodigoEstabelecimento[0] = 0;
  ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0);
  EXPECT_EQ(CamposMontados()[42], std::string(15, ' '));
}

TEST_F(VendaTeste, ShortCardNumberBringsTheSeparatorIntoField32) {
  std::strcpy(TransacaoPdv.Cartao, "1234567890=2512");
  EXPECT_EQ(Monta(MODO_CODIGO, "0"), 5);
  EXPECT_EQ(console_.substr(0, 40), "Erro Consistencia: DADOS INCONSISTENTES\n");
}

TEST_F(VendaTeste, Instalments) {
  struct Caso {
    const char* processamento;
    const char* parcelas;
    const char* enviado;
  };
  const Caso kCasos[] = {
      {"003000", "5", "01"}, {"003810", "3", "03"}, {"003010", "0", "01"},
      {"032000", "4", "01"}, {"003810", "12", "12"},
  };
  for (const Caso& k : kCasos) {
    std::strcpy(TransacaoPdv.CodProcessamento, k.processamento);
    std::strcpy(TransacaoPdv.Parcelas, k.parcelas);
    ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0) << k.processamento;
    EXPECT_EQ(CamposMontados()[67], k.enviado) << k.processamento << " " << k.parcelas;
  }
}

TEST_F(VendaTeste, PinRules) {
  struct Caso {
    char flag;            // 0: no product
    const char* bloco;
    int resultado;
    const char* campo52;  // null: not sent (nor 63)
  };
  const Caso kCasos[] = {
      {'S', "", 11, nullptr},
      {'S', "0123456789abcdef", 0, "0123456789ABCDEF"},
      {'N', "0123456789ABCDEF", 0, nullptr},
      {'s', "", 0, nullptr},       // only the upper-case letter requires a PIN
      {0, "", 0, nullptr},
      {0, "0123456789abcdef", 0, "0123456789ABCDEF"},
      {0, "123", 0, "123F202020202020"},
      {0, "0123456789ABCDEF0", 6, nullptr},
      {0, "0123456789ABCDEG", 5, nullptr},
  };
  for (const Caso& k : kCasos) {
    if (k.flag != 0) Produto(k.flag);
    else TransacaoPdv.ProdutoCartao = nullptr;
    std::strcpy(TransacaoPdv.BlocoPin, k.bloco);
    ASSERT_EQ(Monta(MODO_CODIGO, "0"), k.resultado) << k.flag << " " << k.bloco;
    if (k.resultado != 0) continue;
    Campos c = CamposMontados();
    if (k.campo52 == nullptr) {
      EXPECT_EQ(c.count(52) + c.count(63), 0u) << k.bloco;
    } else {
      EXPECT_EQ(c[52], k.campo52);
      EXPECT_EQ(c[63], "001");
    }
  }
}

TEST_F(VendaTeste, FuelDataOfSixProducts) {
  std::strcpy(TransacaoPdv.CodProcessamento, "033000");
  std::strcpy(TransacaoPdv.AdmItem3, " 77 ");
  std::strcpy(TransacaoPdv.Km, "1234");
  std::strcpy(TransacaoPdv.Matricula, "ABC123");
  TransacaoPdv.QtdItens = 6;
  for (int i = 0; i < 6; ++i) {
    char* linha = TransacaoPdv.Itens[i];
    std::snprintf(linha + kItemCodigo, 7, "%d", i + 1);
    std::snprintf(linha + kItemValor1, 13, "%d00", i + 1);
    std::snprintf(linha + kItemValor2, 13, "5");
  }
  ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0) << console_;
  Campos c = CamposMontados();
  const std::string& f62 = c[62];
  ASSERT_EQ(f62.size(), 190u);
  EXPECT_EQ(f62.substr(0, 33), "000000000077@001234@000000ABC123@");
  EXPECT_EQ(f62.substr(33, 26), "01000000000100000000000005");
  EXPECT_EQ(f62.substr(33 + 5 * 26, 26), "06000000000600000000000005");
  EXPECT_EQ(f62.back(), '@');
  EXPECT_EQ(c.count(120), 0u);

  // Not a fuel processing code: no fuel data at all.
  std::strcpy(TransacaoPdv.CodProcessamento, "003000");
  ASSERT_EQ(Monta(MODO_CODIGO, "0"), 0);
  EXPECT_EQ(CamposMontados().count(62), 0u);

  // A value wider than its slot is refused, not cut.
  std::strcpy(TransacaoPdv.CodProcessamento, "032000");
  std::strcpy(TransacaoPdv.Km, "1234567");
  EXPECT_EQ(Monta(MODO_CODIGO, "0"), 6);
}

TEST_F(VendaTeste, ChipDataOfTheDebitSale) {
  TransacaoPdv.CodTrn = ' ';
  std::strcpy(TransacaoPdv.CodProcessamento, "002000");
  TransacaoPdv.ChipPresente = 1;
  std::strcpy(TransacaoPdv.EMV_Flag, "051?1?");
  // 9F26 (2 bytes), 5F34 = 01, 82 (2 bytes).
  std::strcpy(TransacaoPdv.EMV_Dados, "9F2602ABCD5F3401018202AAAA");
  ASSERT_EQ(Monta(MODO_CODIGO, " "), 0) << console_;
  Campos c = CamposMontados();
  EXPECT_EQ(c[22], "051");
  EXPECT_EQ(c[23], "001");
  EXPECT_EQ(c[55], "9F2602ABCD8202AAAA");
  EXPECT_STREQ(TransacaoPdv.EMV_Dados, "9F2602ABCD8202AAAA");

  // Chip data without 5F34: field 23 declined, 55 sent.
  ASSERT_EQ(Monta(MODO_CODIGO, " "), 0);
  c = CamposMontados();
  EXPECT_EQ(c.count(23), 0u);
  EXPECT_EQ(c[55], "9F2602ABCD8202AAAA");

  // Without chip data both are declined and the stripe's entry mode goes.
  TransacaoPdv.ChipPresente = 0;
  ASSERT_EQ(Monta(MODO_CODIGO, " "), 0);
  c = CamposMontados();
  EXPECT_EQ(c.count(23) + c.count(55), 0u);
  EXPECT_EQ(c[22], "021");
}

TEST_F(VendaTeste, TableLoadRequest) {
  ASSERT_EQ(Monta(MODO_TIPO, "0800"), 0) << console_;
  Campos c = CamposMontados();
  EXPECT_EQ(c[3], "960000");
  EXPECT_EQ(c[7], "0000000000");
  EXPECT_EQ(c[11], "000000");
  EXPECT_EQ(c[47], "000007");
  EXPECT_EQ(c[70], "001");
  EXPECT_NE(EnderecoCampo(7), nullptr);
  EXPECT_EQ(EnderecoCampo(12), nullptr);

  empresa_.EstadoCarga = 3;
  std::memcpy(empresa_.CodProcessamentoCarga, "960123", 7);
  ASSERT_EQ(Monta(MODO_CODIGO, "\x0c"), 0);
  EXPECT_EQ(CamposMontados()[3], "960123");
  EXPECT_STREQ(RegLog.CodProcessamento, "960123");
  empresa_.EstadoCarga = 4;
  ASSERT_EQ(Monta(MODO_TIPO, "0800"), 0);
  EXPECT_EQ(CamposMontados()[3], "960000");
}

TEST_F(VendaTeste, FuelControlledAuthorisation) {
  TransacaoPdv.CodTrn = ')';
  std::strcpy(TransacaoPdv.CodProcessamento, "281000");
  ASSERT_EQ(Monta(MODO_CODIGO, ")"), 0) << console_;
  std::string tipo;
  Campos c = Separa(msg_, &tipo);
  EXPECT_EQ(tipo, "0100");
  EXPECT_EQ(c[3], "281000");
  EXPECT_EQ(c[22], "021");
  EXPECT_EQ(c.count(4), 0u);
  EXPECT_EQ(c.count(104), 0u);
}

}  // namespace
