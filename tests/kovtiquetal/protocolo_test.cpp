// The PDV protocol's builders and readers: refusals and header-only
// replies, both field forms, the named parameter lookup and the extended
// form.
#include <cstring>

#include "kovtiquetal/modulo.h"
#include "kovtiquetal/protocolo_pdv.h"
#include "modulo_fixture.h"

namespace {

class ProtocoloTeste : public ModuloTeste {
 protected:
  void Atual(const Bytes& m) {
    std::memcpy(MsgPdv, m.data(), m.size());
    TamMsgPdv = static_cast<uint16_t>(m.size());
  }
};

TEST_F(ProtocoloTeste, RefusalCarriesTheHeaderTheTextAndTheCodeBlock) {
  Atual(PedidoPdv(1, 5));
  const uint16_t n = MontaRespostaPdv(255, "Nao existe conf.", "S5");
  ASSERT_EQ(n, 135);
  EXPECT_EQ(RespostaPdv[28] | RespostaPdv[29] << 8, 105);
  EXPECT_EQ(RespostaPdv[2], 255);
  EXPECT_EQ(0, std::memcmp(RespostaPdv + 3, MsgPdv + 3, 25));   // the rest of the header
  EXPECT_EQ(RespostaPdv[30], 17);                                // D field: 18 bytes
  EXPECT_EQ(RespostaPdv[31], 'D');
  EXPECT_EQ(0, std::memcmp(RespostaPdv + 32, "Nao existe conf.", 16));
  EXPECT_EQ(RespostaPdv[48], 86);                                // H field: 87 bytes
  EXPECT_EQ(RespostaPdv[49], 'H');
  EXPECT_EQ(0, std::memcmp(RespostaPdv + 50, "S5", 2));
  for (int i = 52; i < 135; ++i) EXPECT_EQ(RespostaPdv[i], 0) << i;

  // A longer text is cut at the 254 characters a short field holds.
  const std::string longo(300, 'x');
  EXPECT_EQ(MontaRespostaPdv(0, longo.c_str(), "00"), 254 + 119);
}

TEST_F(ProtocoloTeste, HeaderOnlyReply) {
  Atual(PedidoPdv(2, 0, Bytes(5, 'z')));
  ASSERT_EQ(MontaRespostaVazia(0), 30);
  EXPECT_EQ(RespostaPdv[2], 0);
  EXPECT_EQ(RespostaPdv[28], 0);
  EXPECT_EQ(RespostaPdv[29], 0);
  EXPECT_EQ(0, std::memcmp(RespostaPdv + 3, MsgPdv + 3, 25));
}

TEST(CampoPdv, ShortAndLongForms) {
  struct Caso {
    uint8_t tag;
    size_t tam;
    Bytes cabeca;    // the bytes before the value
  } casos[] = {
      {'D', 0, {1, 'D'}},
      {'D', 254, {255, 'D'}},
      {'D', 255, {1, 'X', 0x00, 0x01, 'D'}},          // L16 = 256
      {'R', 1000, {1, 'X', 0xE9, 0x03, 'R'}},         // L16 = 1001
      {'X', 300, {1, 'X', 0x2C, 0x01}},               // tag X: not repeated, L16 = 300
  };
  for (const Caso& c : casos) {
    Bytes valor(c.tam, 0x5A);
    Bytes buf(2000, 0xEE);
    const size_t n = EscreveCampoPdv(buf.data(), buf.size(), c.tag, valor.data(), c.tam);
    ASSERT_EQ(n, c.cabeca.size() + c.tam) << c.tam;
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + static_cast<long>(c.cabeca.size())), c.cabeca);
    EXPECT_EQ(Bytes(buf.begin() + static_cast<long>(c.cabeca.size()), buf.begin() + static_cast<long>(n)), valor);
    EXPECT_EQ(buf[n], 0xEE);
  }
  uint8_t pequeno[10];
  EXPECT_EQ(EscreveCampoPdv(pequeno, sizeof pequeno, 'D', "123456789", 9), 0u);
  EXPECT_EQ(EscreveCampoPdv(pequeno, sizeof pequeno, 'D', "12345678", 8), 10u);
}

TEST(ParametroPdv, NameMatchesWithoutCaseOnlyWhenTheStringIsLongEnough) {
  const Bytes m = PedidoPdv(1, 5, Strings({"1234", "PROD", "prodc:77", "EMV:1"}));
  const int pos = BuscaParametroPdv("PRODC:", 30, m.data(), m.size());
  ASSERT_GT(pos, 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.data() + pos)), "77");
  EXPECT_EQ(BuscaParametroPdv("PRODU", 30, m.data(), m.size()), -1);
  // The search starts at the string given.
  const int emv = BuscaParametroPdv("EMV:", 30, m.data(), m.size());
  EXPECT_EQ(BuscaParametroPdv("PRODC:", static_cast<size_t>(emv) - 4, m.data(), m.size()), -1);
  EXPECT_EQ(BuscaParametroPdv("EMV:", static_cast<size_t>(emv) - 4, m.data(), m.size()), emv);
}

TEST(ParametroPdv, NothingIsReadPastTheDataArea) {
  // The data length stops before "EMV:1"; the bytes after it are never seen.
  Bytes m = PedidoPdv(1, 5, Strings({"1234", "EMV:1"}));
  m[28] = 5;
  EXPECT_EQ(BuscaParametroPdv("EMV:", 30, m.data(), m.size()), -1);
  // A last string without its zero byte, cut by the data length.
  Bytes sem_zero = PedidoPdv(1, 5, Texto("SolicitaCarga"));
  EXPECT_GT(BuscaParametroPdv("SolicitaCarga", 30, sem_zero.data(), sem_zero.size()), 0);
  EXPECT_EQ(BuscaParametroPdv("SolicitaCargaX", 30, sem_zero.data(), sem_zero.size()), -1);
  // A data length beyond the bytes given is bounded by them.
  sem_zero[28] = 200;
  EXPECT_GT(BuscaParametroPdv("SolicitaCarga", 30, sem_zero.data(), sem_zero.size()), 0);
}

TEST(FormaEstendida, VersionAndFormatChooseWherePositionalFieldsBegin) {
  struct Caso {
    uint16_t formato;
    const char* versao;
    bool estendida;
  } casos[] = {
      {768, "002042003", true},  {768, "002042004X", true}, {768, "002042002", false},
      {768, "0020420", false},   {0, "002042003", false},   {769, "009999999", false},
  };
  for (const Caso& c : casos) {
    const Bytes m = PedidoPdv(1, 5, Strings({std::string("ParmsGerPdv:") + c.versao, "Adm:1;2;CAIXA", "4111"}), c.formato);
    EXPECT_EQ(FormaEstendidaPdv(m.data(), m.size()), c.estendida) << c.versao << " " << c.formato;
    size_t adm = 99;
    const size_t campos = InicioCamposPdv(m.data(), m.size(), &adm);
    if (c.estendida) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.data() + adm)), "Adm:1;2;CAIXA");
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.data() + campos)), "4111");
    } else {
      EXPECT_EQ(adm, 0u);
      EXPECT_EQ(campos, 30u);
    }
  }
}

}  // namespace
