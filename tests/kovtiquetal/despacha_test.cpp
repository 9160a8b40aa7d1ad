// The dispatch of PDV requests as RxPdv hands them over: terminal close
// with and without its reply, unknown types dumped and unanswered,
// malformed requests refused, and the service announcement.
#include <cstring>

#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "kovtiquetal/protocolo_pdv.h"
#include "modulo_fixture.h"

namespace {

class DespachaTeste : public ModuloTeste {
 protected:
  void Processa(const Bytes& m) { ProcessaMsgPdv(m.data(), m.size()); }
};

TEST_F(DespachaTeste, CloseWithSubtypeTwoIsAnsweredTerminalFechado) {
  const Bytes pedido = PedidoPdv(1, 2);
  Processa(pedido);
  ASSERT_EQ(Respostas().size(), 1u);
  const Bytes& r = Respostas()[0];
  ASSERT_EQ(r.size(), 16u + 119);
  EXPECT_EQ(r[2], 0);
  EXPECT_EQ(Bytes(r.begin() + 3, r.begin() + 28), Bytes(pedido.begin() + 3, pedido.begin() + 28));
  EXPECT_EQ(r[31], 'D');
  EXPECT_EQ(std::string(r.begin() + 32, r.begin() + 48), "Terminal Fechado");
  EXPECT_EQ(r[49], 'H');
  EXPECT_EQ(std::string(r.begin() + 50, r.begin() + 52), "00");
  // The reply buffer is clean once the reply has gone.
  for (uint8_t b : RespostaPdv) ASSERT_EQ(b, 0);
  EXPECT_TRUE(EnviosHost().empty());
}

TEST_F(DespachaTeste, RequestsThatGetNoReply) {
  struct Caso {
    const char* nome;
    Bytes pedido;
    bool despejo;   // the "MSG PDV ERRADO" dump on the console
  } casos[] = {
      {"close without reply", PedidoPdv(1, 4), false},
      {"type 3", PedidoPdv(3, 1, Texto("abc")), true},
      {"type 0", PedidoPdv(0, 254), true},
      {"shorter than the header", Bytes(10, 0x01), true},
  };
  for (const Caso& c : casos) {
    testing::internal::CaptureStdout();
    Processa(c.pedido);
    const std::string saida = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(Respostas().empty()) << c.nome;
    if (!c.despejo) {
      EXPECT_EQ(saida, "") << c.nome;
      continue;
    }
    std::string esperado = "Erro Consistencia: MSG PDV ERRADO\n";
    for (uint8_t b : c.pedido) {
      char h[8];
      std::snprintf(h, sizeof h, "%02x  ", b);
      esperado += h;
    }
    EXPECT_EQ(saida, esperado + "\n") << c.nome;
  }
  EXPECT_EQ(ContaLinhas("Erro - msg PDV de 10 bytes, menor que o cabecalho"), 1);
}

TEST_F(DespachaTeste, DumpOfAWrongRequestShowsATypedCardMasked) {
  const std::string dados("0\0004111111111111111\000", 19);
  const Bytes pedido = PedidoPdv(3, 1, Texto(dados));
  testing::internal::CaptureStdout();
  Processa(pedido);
  const std::string saida = testing::internal::GetCapturedStdout();
  Bytes mostrado = pedido;
  std::memset(mostrado.data() + 32 + 6, '*', 6);   // 411111******1111
  std::string esperado = "Erro Consistencia: MSG PDV ERRADO\n";
  for (uint8_t b : mostrado) {
    char h[8];
    std::snprintf(h, sizeof h, "%02x  ", b);
    esperado += h;
  }
  EXPECT_EQ(saida, esperado + "\n");
  // The current message itself keeps the card for the flows.
  EXPECT_EQ(0, std::memcmp(MsgPdv + 32, "4111111111111111", 16));
}

TEST_F(DespachaTeste, DataLengthPastTheBytesReceivedIsRefused) {
  Bytes pedido = PedidoPdv(1, 2, Texto("abcd"));
  pedido[28] = 5;
  testing::internal::CaptureStdout();
  Processa(pedido);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("MSG PDV ERRADO"), std::string::npos);
  EXPECT_TRUE(Respostas().empty());
  EXPECT_EQ(ContaLinhas("Erro - msg PDV com 5 bytes de dados e 4 recebidos"), 1);
  // The next request is served.
  Processa(PedidoPdv(1, 2));
  EXPECT_EQ(Respostas().size(), 1u);
}

TEST_F(DespachaTeste, CurrentMessageIsTheRequestAloneAtMost1500Bytes) {
  Processa(PedidoPdv(1, 4, Bytes(100, 'a')));
  Processa(PedidoPdv(1, 4, Bytes(3, 'b')));
  EXPECT_EQ(TamMsgPdv, 33);
  EXPECT_EQ(MsgPdv[33], 0);   // nothing left of the longer request
  const Bytes grande(1600, 0x01);
  testing::internal::CaptureStdout();
  Processa(grande);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(TamMsgPdv, 1500);
}

TEST_F(DespachaTeste, ServiceAnnouncement) {
  AnunciaServicos();
  ASSERT_EQ(Respostas().size(), 1u);
  Bytes esperado(30, 0);
  esperado[3] = 254;
  std::memcpy(esperado.data() + 20, "********", 8);
  esperado[28] = 10;
  const Bytes dados = {9, 'y', '1', ';', '2', ';', '3', ';', '4', ';'};
  esperado.insert(esperado.end(), dados.begin(), dados.end());
  EXPECT_EQ(Respostas()[0], esperado);
}

}  // namespace
