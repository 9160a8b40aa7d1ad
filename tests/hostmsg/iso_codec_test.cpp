// The field table and the packing of one field: alignment and fill of each
// type, length prefixes, the refusals 5 and 6 with their console lines, the
// track of field 35, field 65, the buffer bound and the closing bitmap.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_campos.h"
#include "hostmsg/iso_envio.h"
#include "hostmsg/iso_texto.h"
#include "kovtiquetal/registros.h"

namespace {

// The console dump of bytes: "%02x  " each, then the end of the line.
std::string Hex(const std::string& bytes) {
  std::string s;
  char par[5];
  for (unsigned char c : bytes) {
    std::snprintf(par, sizeof par, "%02x  ", c);
    s += par;
  }
  return s + "\n";
}

class CodecTeste : public ::testing::Test {
 protected:
  void SetUp() override {
    ReiniciaHostMsg();
    ReiniciaRegistros();
    std::memset(buffer_, '#', sizeof buffer_);
    ASSERT_EQ(IniciaMensagem(buffer_, "0200", sizeof buffer_), 0);
  }

  // Packs one value; the characters it added go to *wire, what the console
  // showed to *console.
  int Monta(int campo, const std::string& valor, std::string* wire, std::string* console) {
    Campo c;
    EXPECT_TRUE(BuscaCampo(campo, &c));
    size_t antes = MsgEnvio.pos;
    testing::internal::CaptureStdout();
    int r = MontaCampo(valor.data(), valor.size(), c);
    *console = testing::internal::GetCapturedStdout();
    *wire = std::string(buffer_ + antes, MsgEnvio.pos - antes);
    EXPECT_EQ(MsgEnvio.tamanho, MsgEnvio.pos);
    return r;
  }

  char buffer_[4096];
};

TEST(TabCampos, RowsOfTheDialect) {
  struct Linha {
    int campo;
    TipoDado tipo;
    FormaTamanho forma;
    int maximo;
    size_t largura;   // characters of a fixed field
  };
  const Linha kLinhas[] = {
      {1, TIPO_B, FORMA_FIXA, 64, 16},     {2, TIPO_N, FORMA_LLVAR, 19, 19},
      {7, TIPO_N, FORMA_FIXA, 10, 10},     {14, TIPO_N, FORMA_FIXA, 4, 4},
      {18, TIPO_ANS, FORMA_FIXA, 4, 4},    {28, TIPO_AN, FORMA_FIXA, 9, 9},
      {31, TIPO_AN, FORMA_FIXA, 9, 9},     {33, TIPO_N, FORMA_LLVAR, 11, 11},
      {35, TIPO_Z, FORMA_LLVAR, 37, 37},   {36, TIPO_Z, FORMA_LLLVAR, 104, 104},
      {41, TIPO_ANS, FORMA_FIXA, 8, 8},    {42, TIPO_ANS, FORMA_FIXA, 15, 15},
      {48, TIPO_ANS, FORMA_LLLVAR, 999, 999}, {52, TIPO_B, FORMA_FIXA, 64, 16},
      {53, TIPO_AN, FORMA_LLVAR, 6, 6},    {61, TIPO_ANS, FORMA_LLLVAR, 8, 8},
      {64, TIPO_B, FORMA_FIXA, 64, 16},    {65, TIPO_B, FORMA_FIXA, 1, 0},
      {67, TIPO_N, FORMA_FIXA, 2, 2},      {90, TIPO_N, FORMA_FIXA, 42, 42},
      {96, TIPO_B, FORMA_FIXA, 64, 16},    {98, TIPO_ANS, FORMA_FIXA, 25, 25},
      {104, TIPO_ANS, FORMA_LLLVAR, 100, 100}, {127, TIPO_ANS, FORMA_LLLVAR, 999, 999},
      {128, TIPO_B, FORMA_FIXA, 64, 16},
  };
  for (const Linha& l : kLinhas) {
    Campo c;
    ASSERT_TRUE(BuscaCampo(l.campo, &c)) << l.campo;
    EXPECT_EQ(c.numero, l.campo);
    EXPECT_EQ(c.tipo, l.tipo) << l.campo;
    EXPECT_EQ(c.forma, l.forma) << l.campo;
    EXPECT_EQ(c.maximo, l.maximo) << l.campo;
    if (c.forma == FORMA_FIXA) {
      EXPECT_EQ(LarguraFixa(c), l.largura) << l.campo;
    }
  }
  for (int n = 1; n <= kNumCampos; ++n) EXPECT_EQ(TabCampos[n - 1].numero, n);
  Campo c;
  EXPECT_FALSE(BuscaCampo(0, &c));
  EXPECT_FALSE(BuscaCampo(129, &c));
}

TEST_F(CodecTeste, AlignmentFillAndPrefixes) {
  struct Caso {
    int campo;
    std::string valor;
    std::string wire;
  };
  const Caso kCasos[] = {
      {4, "1234", "000000001234"},
      {41, "T1", "T1      "},
      {3, "", "000000"},
      {43, "", std::string(40, ' ')},
      {37, "ab c+-", "ab c+-      "},
      {4, "-12", "000000000-12"},
      {2, "12345", "0512345"},
      {62, "ABCDE", "005ABCDE"},
      {61, "84845100", "00884845100"},
      {104, "", "000"},
      {54, std::string(99, 'x'), "99" + std::string(99, 'x')},
  };
  for (const Caso& k : kCasos) {
    std::string wire, console;
    EXPECT_EQ(Monta(k.campo, k.valor, &wire, &console), 0) << k.campo;
    EXPECT_EQ(wire, k.wire) << k.campo;
    EXPECT_EQ(console, "");
  }
}

TEST_F(CodecTeste, RefusalsWriteNothingAndReportTheValue) {
  struct Caso {
    int campo;
    std::string valor;
    int resultado;
    std::string console;
  };
  const Caso kCasos[] = {
      {4, "12a4", 5, "Erro Consistencia: DADOS INCONSISTENTES\n31  32  61  34  \n"},
      {4, "1234567890123", 6,
       "Erro Consistencia: TAMANHO ERRADO\n31  32  33  34  35  36  37  38  39  30  31  32  33  \n"},
      {39, "0!", 5, "Erro Consistencia: DADOS INCONSISTENTES\n30  21  \n"},
      // A card number shows only its first six and last four digits.
      {2, "12345678901234567890", 6,
       "Erro Consistencia: TAMANHO ERRADO\n31  32  33  34  35  36  2a  2a  2a  2a  2a  2a  2a  2a  "
       "2a  2a  37  38  39  30  \n"},
      {61, "848451001", 6,
       "Erro Consistencia: TAMANHO ERRADO\n38  34  38  34  35  31  30  30  31  \n"},
      // Field 54 allows 120, but its two-digit prefix cannot count 100.
      {54, std::string(100, 'x'), 6,
       "Erro Consistencia: TAMANHO ERRADO\n" + Hex(std::string(100, 'x'))},
  };
  for (const Caso& k : kCasos) {
    std::string wire, console;
    uint16_t tamanho = MsgEnvio.tamanho;
    EXPECT_EQ(Monta(k.campo, k.valor, &wire, &console), k.resultado) << k.campo;
    EXPECT_EQ(wire, "");
    EXPECT_EQ(MsgEnvio.tamanho, tamanho);
    EXPECT_EQ(console, k.console);
  }
}

TEST_F(CodecTeste, BinaryFields) {
  Campo c52, c64, c65;
  BuscaCampo(52, &c52);
  BuscaCampo(64, &c64);
  BuscaCampo(65, &c65);
  const unsigned char pin[9] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef, 0x00};
  EXPECT_EQ(MontaCampo(pin, 8, c52), 0);
  EXPECT_EQ(std::string(buffer_ + 20, 16), "0123456789ABCDEF");
  testing::internal::CaptureStdout();
  EXPECT_EQ(MontaCampo(pin, 9, c52), 6);
  EXPECT_EQ(testing::internal::GetCapturedStdout().substr(0, 34), "Erro Consistencia: TAMANHO ERRADO\n");
  const unsigned char zero = '0';
  EXPECT_EQ(MontaCampo(&zero, 1, c64), 0);
  EXPECT_EQ(std::string(buffer_ + 36, 16), "0000000000000030");
  // Field 65 takes no characters; one byte does not fit.
  size_t pos = MsgEnvio.pos;
  EXPECT_EQ(MontaCampo(nullptr, 0, c65), 0);
  EXPECT_EQ(MsgEnvio.pos, pos);
  testing::internal::CaptureStdout();
  EXPECT_EQ(MontaCampo(&zero, 1, c65), 6);
  testing::internal::GetCapturedStdout();
}

TEST_F(CodecTeste, TrackOfField35StoresTheCardNumber) {
  struct Caso {
    std::string trilha;
    int resultado;
    std::string wire;
    std::string cartao;
  };
  const std::string t37 = "4111111111111111=25122010000012345678";
  const Caso kCasos[] = {
      {";" + t37 + "?", 0, "37" + t37, "4111111111111111"},
      {t37 + "?trailing", 0, "37" + t37, "4111111111111111"},
      // More than 17 characters before "=": the first 17 are the card number.
      {"123456789012345678=99", 0, "21123456789012345678=99", "12345678901234567"},
      // No "=" and at least 17 characters.
      {"12345678901234567", 0, "1712345678901234567", "12345678901234567"},
      // A cleaned text of 12 characters without "=".
      {";123456789012?", 6, "", ""},
      // 38 characters after cleaning.
      {";" + t37 + "9?", 6, "", ""},
  };
  for (const Caso& k : kCasos) {
    ReiniciaRegistros();
    std::string wire, console;
    EXPECT_EQ(Monta(35, k.trilha, &wire, &console), k.resultado) << k.trilha;
    EXPECT_EQ(wire, k.wire);
    EXPECT_EQ(std::string(RegLog.Cartao), k.cartao);
  }
}

TEST_F(CodecTeste, NothingIsWrittenPastTheBuffer) {
  char pequeno[64];
  std::memset(pequeno, '#', sizeof pequeno);
  ASSERT_EQ(IniciaMensagem(pequeno, "0200", 50), 0);
  Campo c43;
  BuscaCampo(43, &c43);
  testing::internal::CaptureStdout();
  EXPECT_EQ(MontaCampo("x", 1, c43), 6);   // 40 characters after 20
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Erro Consistencia: TAMANHO ERRADO\n78  \n");
  Campo c4;
  BuscaCampo(4, &c4);
  EXPECT_EQ(MontaCampo("1", 1, c4), 0);    // 12 more still fit
  EXPECT_EQ(MsgEnvio.pos, 32u);
  EXPECT_EQ(std::string(pequeno + 50, 14), std::string(14, '#'));
  EXPECT_EQ(IniciaMensagem(pequeno, "0200", 19), 6);
}

TEST_F(CodecTeste, BitmapsAfterTheMessageType) {
  MarcaCampo(1);
  ASSERT_EQ(ReservaBitmapSecundario(), 0);
  EXPECT_EQ(MsgEnvio.pos, 36u);
  MarcaCampo(3);
  MarcaCampo(4);
  MarcaCampo(67);
  MarcaCampo(128);
  MarcaCampo(5);
  DesmarcaCampo(5);
  FechaMensagem(buffer_);
  std::string cabeca(buffer_, 36);
  EXPECT_EQ(cabeca, "0200B0000000000000002000000000000001");
  EXPECT_GE(cabeca[4], '8');

  ASSERT_EQ(IniciaMensagem(buffer_, "0800", sizeof buffer_), 0);
  MarcaCampo(64);
  FechaMensagem(buffer_);
  EXPECT_EQ(std::string(buffer_, 20), "08000000000000000001");
}

TEST(CodificaIso, ForgetsTheCardNumberOfATrack) {
  ReiniciaRegistros();
  const std::vector<CampoTexto> kPedidos[] = {
      {{35, "4111111111111111=2512"}},
      {{35, "4111111111111111=2512"}, {41, "T1"}, {42, std::string(16, 'x')}},
  };
  for (const auto& campos : kPedidos) {
    std::string msg, motivo;
    testing::internal::CaptureStdout();
    CodificaIso("0200", campos, &msg, &motivo);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string(RegLog.Cartao, sizeof RegLog.Cartao), std::string(sizeof RegLog.Cartao, '\0'))
        << motivo;
  }
}

}  // namespace
