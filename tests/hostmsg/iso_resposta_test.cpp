// Splitting received messages: where the first field starts, bitmaps in
// either case, field 65, and the messages that are refused because a count
// is above its maximum, a field runs past the received length, the bitmap
// is not hexadecimal or the message is too short.  Also the check of a
// message against its response definition.
#include <gtest/gtest.h>

#include <string>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_resposta.h"
#include "services/depura.h"

namespace {

class RespostaTeste : public ::testing::Test {
 protected:
  void SetUp() override { ReiniciaHostMsg(); }
  void TearDown() override {
    ReiniciaHostMsg();
    DefineTraceConsole(false);
  }
  bool Separa(const std::string& msg) {
    EXPECT_TRUE(CarregaMsgResposta(msg.data(), msg.size()));
    return LeCabecalho() && LocalizaCampos(CampoPresente(1) ? 16 : 8);
  }
  std::string Campo(int n) {
    const char* p;
    uint16_t tam;
    if (!CampoRecebido(n, &p, &tam)) return "<absent>";
    return std::string(p, tam);
  }
};

TEST_F(RespostaTeste, FirstFieldAfterOneOrTwoBitmaps) {
  // Fields 3 and 39.
  ASSERT_TRUE(Separa("0210" "2000000002000000" "003000" "00"));
  EXPECT_EQ(std::string(MsgResposta.tipo), "0210");
  EXPECT_EQ(MsgResposta.slots[3].pos, 20);
  EXPECT_EQ(Campo(3), "003000");
  EXPECT_EQ(Campo(39), "00");
  EXPECT_EQ(Campo(4), "<absent>");
  // Fields 1, 3 and 127, the bitmaps in lower case.
  ASSERT_TRUE(Separa("0610" "a000000000000000" "0000000000000002" "003000" "009123456789"));
  EXPECT_EQ(MsgResposta.slots[3].pos, 36);
  EXPECT_EQ(Campo(127), "123456789");
  EXPECT_TRUE(CampoPresente(127));
  EXPECT_FALSE(CampoPresente(126));
}

TEST_F(RespostaTeste, Field65TakesNoCharacters) {
  // Fields 1, 65 and 66.
  ASSERT_TRUE(Separa("0800" "8000000000000000" "C000000000000000" "7"));
  EXPECT_EQ(Campo(65), "");
  EXPECT_EQ(Campo(66), "7");
}

TEST_F(RespostaTeste, InvalidMessages) {
  struct Caso {
    std::string msg;
    ErroSeparacao erro;
    int campo;
  };
  const Caso kCasos[] = {
      // Field 2 announcing 25 characters (maximum 19).
      {"0210" "4000000000000000" "25" "1234567890123456789012345", SEP_ACIMA_MAXIMO, 2},
      // Field 62 announcing more characters than were received.
      {"0210" "0000000000000004" "010" "12345", SEP_ALEM_DO_FIM, 62},
      // Field 3 is whole, field 62 after it is not: neither is kept.
      {"0210" "2000000000000004" "003000" "010" "12345", SEP_ALEM_DO_FIM, 62},
      // A fixed field 4 cut short.
      {"0210" "1000000000000000" "00000001", SEP_ALEM_DO_FIM, 4},
      // A length prefix cut short.
      {"0210" "4000000000000000" "1", SEP_ALEM_DO_FIM, 2},
      {"0210" "G000000000000000", SEP_BITMAP_INVALIDO, 0},
      {"0210" "800000000000000" "0", SEP_CURTA, 1},
      {"0210" "8000000000000000" "00000000000000x0", SEP_BITMAP_INVALIDO, 1},
      {"0210", SEP_CURTA, 0},
  };
  for (const Caso& k : kCasos) {
    EXPECT_FALSE(Separa(k.msg)) << k.msg;
    EXPECT_EQ(MsgResposta.erro, k.erro) << k.msg;
    EXPECT_EQ(MsgResposta.campo_erro, k.campo) << k.msg;
    for (int f = 1; f <= 128; ++f) EXPECT_FALSE(MsgResposta.slots[f].presente);
  }
  std::string longa(kTamBufferResposta + 1, '0');
  EXPECT_FALSE(CarregaMsgResposta(longa.data(), longa.size()));
  EXPECT_EQ(MsgResposta.tamanho, 0);
}

TEST_F(RespostaTeste, MissingDefinedFieldsAreReported) {
  ASSERT_TRUE(Separa("0210" "2000000002000000" "003000" "00"));
  const int campos[] = {3, 11, 39, 127};
  const bool com_parser[] = {false, false, true, true};
  DefineTraceConsole(true);
  testing::internal::CaptureStderr();
  ConfereCamposResposta(campos, com_parser, 4);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ALERTA: Campo 011 inexistente na 0210.\nAlerta: Campo 127 inexistente na 0210.\n");
}

}  // namespace
