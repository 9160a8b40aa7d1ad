// The undo advice 0420, built from the advised record, and the confirmation
// advice 0202, built from the current record as read back from the log.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/msg_envio.h"
#include "hostmsg_teste.h"
#include "kovtiquetal/registros.h"

namespace {

void Registro(RegistroLog* r, char cod_trn, const char* modo) {
  std::memset(r, 0, sizeof *r);
  std::strcpy(r->Terminal, "PDV00007");
  std::strcpy(r->Nsu, "050012");
  std::strcpy(r->DocHost, "000123456");
  r->Estado = 2;
  r->CodTrn = static_cast<uint8_t>(cod_trn);
  std::strcpy(r->CodProcessamento, "003000");
  std::strcpy(r->CodResposta, "00");
  std::strcpy(r->Data, "0305");
  std::strcpy(r->Hora, "101500");
  std::strcpy(r->Cartao, "4111111111111111");
  std::strcpy(r->DataEnvio, "0305");
  std::strcpy(r->HoraEnvio, "101459");
  std::strcpy(r->Valor, "1500");
  std::strcpy(r->Validade, "2712");
  std::strcpy(r->Adquirente, "41111111111");
  std::strcpy(r->Estabelecimento, "12345          ");
  std::memcpy(r->ModoEntrada, modo, 3);
  r->Rede = 77;
}

class AvisoTeste : public HostMsgTeste {
 protected:
  void SetUp() override {
    HostMsgTeste::SetUp();
    FixaRelogio(2026, 3, 6, 9, 8, 7);
  }
};

TEST_F(AvisoTeste, CardFieldsByEntryMode) {
  struct Caso {
    const char* modo;
    bool cartao_validade;   // fields 2 and 14
    bool trilha;            // field 35
  };
  const Caso kCasos[] = {{"011", true, false}, {"021", false, true}, {"051", true, true}};
  for (const Caso& k : kCasos) {
    Registro(&RegLog2, '0', k.modo);
    ASSERT_EQ(Monta(MODO_TIPO, "0420"), 0) << console_;
    Campos c = CamposMontados();
    EXPECT_EQ(c.count(2) == 1, k.cartao_validade) << k.modo;
    EXPECT_EQ(c.count(14) == 1, k.cartao_validade) << k.modo;
    EXPECT_EQ(c.count(35) == 1, k.trilha) << k.modo;
    if (k.cartao_validade) {
      EXPECT_EQ(c[2], "4111111111111111");
      EXPECT_EQ(c[14], "2712");
    }
    if (k.trilha) {
      EXPECT_EQ(c[35], "4111111111111111=00000000000000000000");
    }
    EXPECT_EQ(c[22], k.modo);
  }
}

TEST_F(AvisoTeste, ValuesOfTheAdvisedRecord) {
  Registro(&RegLog2, '0', "021");
  NumSeqRede = 980637;
  ASSERT_EQ(Monta(MODO_TIPO, "0420"), 0) << console_;
  Campos c = CamposMontados();
  EXPECT_EQ(c[3], "003000");
  EXPECT_EQ(c[4], "000000001500");
  EXPECT_EQ(c[7], "0306090807");
  EXPECT_EQ(c[11], "980637");
  EXPECT_EQ(c[13], "0306");
  EXPECT_EQ(c[32], "41111111111");
  EXPECT_EQ(c[39], "78");
  EXPECT_EQ(c[41], "PDV00007");
  EXPECT_EQ(c[42], "12345          ");
  EXPECT_EQ(c[49], "076");
  EXPECT_EQ(c[61], "84845100");
  EXPECT_EQ(c[90], "0200" "050012" "0305" "101459" "41111111111" "00000000000");
  EXPECT_EQ(NumSeqRede, 980638u);
}

TEST_F(AvisoTeste, SequenceWrapsAfter999999) {
  Registro(&RegLog2, '0', "021");
  NumSeqRede = 999999;
  ASSERT_EQ(Monta(MODO_TIPO, "0420"), 0);
  EXPECT_EQ(CamposMontados()[11], "999999");
  ASSERT_EQ(Monta(MODO_TIPO, "0420"), 0);
  EXPECT_EQ(CamposMontados()[11], "980000");
}

TEST_F(AvisoTeste, OriginalMessageTypeOfField90) {
  struct Caso {
    char cod_trn;
    const char* inicio;
    const char* adquirente;
  };
  const Caso kCasos[] = {{'6', "0400", "41111111111"}, {'7', "0400", "41111111111"},
                         {'#', "0400", "41111111111"}, {')', "0100", "00000000000"},
                         {' ', "0200", "41111111111"}};
  for (const Caso& k : kCasos) {
    Registro(&RegLog2, k.cod_trn, "021");
    ASSERT_EQ(Monta(MODO_TIPO, "0420"), 0);
    Campos c = CamposMontados();
    EXPECT_EQ(c[90].substr(0, 4), k.inicio) << k.cod_trn;
    EXPECT_EQ(c[90].substr(20, 11), k.adquirente) << k.cod_trn;
    // Field 32 went out before field 90 replaced the acquirer.
    EXPECT_EQ(c[32], "41111111111");
  }
  EXPECT_STREQ(RegLog2.Adquirente, "41111111111");
}

TEST_F(AvisoTeste, ConfirmationAdvice) {
  Registro(&RegLog, '0', "021");
  ASSERT_EQ(MontaConfirmacao(), 0) << console_;
  std::string tipo, bitmap;
  Campos c = Separa(msg_, &tipo, &bitmap);
  EXPECT_EQ(tipo, "0202");
  EXPECT_EQ(bitmap.size(), 32u);
  EXPECT_EQ(c[3], "003000");
  EXPECT_EQ(c[4], "000000001500");
  EXPECT_EQ(c[7], "0305101500");
  EXPECT_EQ(c[11], "050012");
  EXPECT_EQ(c[22], "021");
  EXPECT_EQ(c[32], "41111111111");
  EXPECT_EQ(c[39], "00");
  EXPECT_EQ(c[41], "PDV00007");
  EXPECT_EQ(c[42], "12345          ");
  EXPECT_EQ(c[49], "076");
  EXPECT_EQ(c[127], "000123456");
  EXPECT_EQ(c.size(), 11u);
  for (uint8_t estado : {5, 6, 134}) {
    RegLog.Estado = estado;
    ASSERT_EQ(MontaConfirmacao(), 0);
    EXPECT_EQ(CamposMontados()[39], "86") << int(estado);
  }
}

}  // namespace
