// Typed card numbers in PDV messages: which digit runs count as card
// numbers and what of them stays in clear, and the audit records of a
// request and a reply that carry one.
#include <algorithm>
#include <cstring>
#include <string>

#include "basico/interpdv.h"
#include "basico/interpdv_mascara.h"
#include "basico/rot_arqs_mascara.h"
#include "biblkovra/msgqueue.h"
#include "intercom_apoio.h"
#include "services/trace.h"

namespace {

// A 30-byte header with digits in its terminal, queue and company fields,
// then the data area.
Bytes Mensagem(const std::string& dados) {
  Bytes m(30, 0);
  m[2] = 1;
  std::memcpy(m.data() + 4, "12345678", 8);
  std::memcpy(m.data() + 12, "042", 3);
  std::memcpy(m.data() + 20, "00000001", 8);
  m[28] = static_cast<uint8_t>(dados.size());
  m.insert(m.end(), dados.begin(), dados.end());
  return m;
}

// The data area after the masking list has been applied, as the audit
// writer applies it to its copy.
std::string ComLista(const Bytes& m) {
  std::vector<MascaraAudit> lista(MaxMascarasCartaoPdv(m.size()));
  const size_t n = MascarasCartaoPdv(m.data(), m.size(), lista.data(), lista.size());
  Bytes copia = m;
  AplicaMascarasAudit(copia.data(), copia.size(), lista.data(), static_cast<int>(n));
  EXPECT_TRUE(std::equal(copia.begin(), copia.begin() + 30, m.begin())) << "header changed";
  return std::string(copia.begin() + 30, copia.end());
}

std::string Ocultado(const Bytes& m) {
  Bytes copia = m;
  OcultaCartoesPdv(copia.data(), copia.size());
  return std::string(copia.begin() + 30, copia.end());
}

TEST(CartaoPdv, RunsOfThirteenToNineteenDigitsKeepTheirFirstSixAndLastFour) {
  using namespace std::string_literals;
  struct Caso {
    std::string dados, esperado;
  } casos[] = {
      {"4111111111111111\0"s, "411111******1111\0"s},
      {"1234567890123\0"s, "123456***0123\0"s},                           // 13
      {"1234567890123456789\0"s, "123456*********6789\0"s},               // 19
      {"123456789012\0"s, "123456789012\0"s},                             // 12: no card
      {"12345678901234567890\0"s, "12345678901234567890\0"s},             // 20: no card
      {"0\0005500000000000004\0EMV:1\0"s, "0\000550000******0004\0EMV:1\0"s},
      {"A4111111111111111=2512\0"s, "A411111******1111=2512\0"s},         // digits inside a string
      {"5500000000000004;4111111111111111"s, "550000******0004;411111******1111"s},
      {"000000012345\0" "100\0"s, "000000012345\0" "100\0"s},             // amounts stay
  };
  for (const Caso& c : casos) {
    const Bytes m = Mensagem(c.dados);
    EXPECT_EQ(ComLista(m), c.esperado) << c.dados;
    EXPECT_EQ(Ocultado(m), c.esperado) << c.dados;
  }
}

TEST(CartaoPdv, HeaderAndShortMessagesAreLeftAlone) {
  Bytes m(30, 0);
  std::memcpy(m.data() + 4, "1234567890123456", 16);   // digits over the header fields
  EXPECT_EQ(MaxMascarasCartaoPdv(m.size()), 0u);
  Bytes copia = m;
  OcultaCartoesPdv(copia.data(), copia.size());
  EXPECT_EQ(copia, m);
  MascaraAudit lista[4];
  EXPECT_EQ(MascarasCartaoPdv(m.data(), 20, lista, 4), 0u);
  // The list never holds more than its room.
  const Bytes muitos = Mensagem(std::string("4111111111111111;4111111111111111;4111111111111111"));
  EXPECT_EQ(MascarasCartaoPdv(muitos.data(), muitos.size(), lista, 2), 2u);
  EXPECT_LE(3u, MaxMascarasCartaoPdv(muitos.size()));
}

// The link's audit records with the masking list they were handed applied,
// as the audit writer applies it before it enciphers the record.
std::vector<std::string> g_auditados;

int CapturaMascarado(const NV_TraceVarAudit* reg) {
  const auto* p = static_cast<const uint8_t*>(reg->dados);
  Bytes copia(p, p + reg->tam);
  AplicaMascarasAudit(copia.data(), copia.size(), reg->mascaras, reg->num_mascaras);
  g_auditados.emplace_back(copia.begin(), copia.end());
  return 0;
}

class AuditCartaoPdvTeste : public LinksTeste {
 protected:
  void SetUp() override {
    LinksTeste::SetUp();
    g_auditados.clear();
    InstalaGravadorAudit(CapturaMascarado);
  }
};

TEST_F(AuditCartaoPdvTeste, TypedCardInARequestAndInAReplyIsMasked) {
  using namespace std::string_literals;
  const Bytes pedido = Mensagem("0\0004111111111111111\0001000\0"s);
  const std::string mascarado = "0\000411111******1111\0001000\0"s;

  LeitorCru lado_pdv("Kovra/queues/pdvrd.25");
  ASSERT_EQ(inicia_comunicacao_pdv(77), 1);
  DefineAuditPdvCompleto(true);
  ASSERT_TRUE(EnviaCru("Kovra/queues/pdvwr.25", Datagrama(250, Embaralhado(pedido))));
  uint8_t buf[kTamBufferPdv];
  ASSERT_EQ(LeMsgPdv(buf, sizeof buf), pedido.size());
  // The module itself reads the card in clear.
  EXPECT_TRUE(std::equal(pedido.begin(), pedido.end(), buf));

  Bytes resposta = pedido;
  EnviaRespostaPdv(resposta.data(), resposta.size());
  // The switch gets the reply as it was built; only the audit is masked.
  Bytes quadro;
  ASSERT_TRUE(lado_pdv.Recebe(&quadro));
  quadro = Desembaralhado(quadro);
  EXPECT_EQ(Bytes(quadro.begin() + 2, quadro.end()), pedido);

  ASSERT_EQ(g_auditados.size(), 2u);
  for (const std::string& r : g_auditados) {
    EXPECT_EQ(r.substr(0, 30), std::string(pedido.begin(), pedido.begin() + 30));
    EXPECT_EQ(r.substr(30), mascarado);
    EXPECT_EQ(r.find("4111111111111111"), std::string::npos);
  }
}

}  // namespace
