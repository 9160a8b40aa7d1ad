// The PDV link against real queues: names and routing, a request in and a
// reply out with the scrambling and the audit records, refused datagrams
// followed by the next request, the reply written across a restart of the
// switch's PDV side, and the waits that a stop or a wake end.
#include <algorithm>
#include <cstring>
#include <thread>

#include "basico/intercom_filas.h"
#include "basico/intercom_parada.h"
#include "basico/interpdv.h"
#include "biblkovra/msgqueue.h"
#include "intercom_apoio.h"

namespace {

constexpr const char* kPedidos = "Kovra/queues/pdvwr.25";
constexpr const char* kRespostas = "Kovra/queues/pdvrd.25";

// A 30-byte PDV header with the given reply-queue characters and data.
Bytes Pedido(const char* fila, const Bytes& dados = {}) {
  Bytes m(30, 0);
  m[2] = 1;
  m[3] = 2;
  std::memcpy(m.data() + 4, "TERM0001", 8);
  std::memcpy(m.data() + 12, fila, 3);
  std::memcpy(m.data() + 20, "00000001", 8);
  m[28] = static_cast<uint8_t>(dados.size());
  m.insert(m.end(), dados.begin(), dados.end());
  return m;
}

class InterPdvTeste : public LinksTeste {
 protected:
  // The switch's reply queue, then the link opened against it.
  void Abre() {
    switch_ = std::make_unique<LeitorCru>(kRespostas);
    ASSERT_EQ(inicia_comunicacao_pdv(77), 1);
  }
  void EscrevePedido(const Bytes& m) { ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(250, Embaralhado(m)))); }
  size_t Le() { return LeMsgPdv(buf_, sizeof buf_); }
  // The reply frame the switch reads, unscrambled.
  Bytes Resposta() {
    Bytes q;
    EXPECT_TRUE(switch_->Recebe(&q));
    return Desembaralhado(q);
  }

  std::unique_ptr<LeitorCru> switch_;
  uint8_t buf_[kTamBufferPdv];
};

TEST(NomesFilas, NetworkNumberInBase36) {
  struct Caso {
    int fila, rede;
    const char* nome;
  } casos[] = {
      {FILA_PDV_PEDIDOS, 77, "Kovra/queues/pdvwr.25"}, {FILA_PDV_RESPOSTAS, 77, "Kovra/queues/pdvrd.25"},
      {FILA_DRIVER_TX, 77, "Kovra/Drivers/TX-25"},     {FILA_DRIVER_RX, 77, "Kovra/Drivers/RX-25"},
      {FILA_DRIVER_TX, 0, "Kovra/Drivers/TX-0"},       {FILA_DRIVER_RX, 1679615, "Kovra/Drivers/RX-zzzz"},
  };
  for (const Caso& c : casos) {
    char nome[kTamNomeFilaRede];
    ASSERT_EQ(NomeFilaRede(c.fila, c.rede, nome, sizeof nome), 0);
    EXPECT_STREQ(nome, c.nome);
  }
  char nome[kTamNomeFilaRede];
  EXPECT_EQ(NomeFilaRede(FILA_DRIVER_TX, 1679616, nome, sizeof nome), 22);
  EXPECT_EQ(NomeFilaRede(FILA_DRIVER_TX, -1, nome, sizeof nome), 22);
  EXPECT_EQ(NomeFilaRede(9, 77, nome, sizeof nome), 22);
  EXPECT_EQ(NomeFilaRede(FILA_DRIVER_TX, 77, nome, 10), 22);
}

TEST(RotaPdv, DigitsAtTwelveToFourteen) {
  struct Caso {
    const char* fila;
    uint16_t rota;
  } casos[] = {{"042", 42}, {"999", 999}, {"4x2", 4}, {"x42", 0}, {"   ", 0}};
  for (const Caso& c : casos) {
    const Bytes m = Pedido(c.fila);
    EXPECT_EQ(RotaRespostaPdv(m.data(), m.size()), c.rota) << c.fila;
  }
  const Bytes curta = Pedido("421");
  EXPECT_EQ(RotaRespostaPdv(curta.data(), 13), 4);
  EXPECT_EQ(RotaRespostaPdv(curta.data(), 12), 0);
}

TEST_F(InterPdvTeste, RequestInAndReplyOutScrambledAndAudited) {
  Abre();
  const Bytes pedido = Pedido("042", Texto(std::string("abc\0", 4)));
  EscrevePedido(pedido);
  ASSERT_EQ(Le(), pedido.size());
  EXPECT_TRUE(std::equal(pedido.begin(), pedido.end(), buf_));

  Bytes resposta = Pedido("042");
  EnviaRespostaPdv(resposta.data(), resposta.size());
  EXPECT_TRUE(std::all_of(resposta.begin(), resposta.end(), [](uint8_t b) { return b == 0; }));
  const Bytes q = Resposta();
  ASSERT_EQ(q.size(), 32u);
  EXPECT_EQ(q[0], 0x2A);
  EXPECT_EQ(q[1], 0x00);
  EXPECT_EQ(Bytes(q.begin() + 2, q.end()), Pedido("042"));

  // The request is recorded by its 30 header bytes, the reply whole (not the frame).
  const auto audit = Audit();
  ASSERT_EQ(audit.size(), 2u);
  EXPECT_EQ(audit[0].tipo, 50);
  EXPECT_EQ(audit[0].dados, Bytes(pedido.begin(), pedido.begin() + 30));
  EXPECT_EQ(audit[1].tipo, 49);
  EXPECT_EQ(audit[1].dados, Pedido("042"));

  DefineAuditPdvCompleto(true);
  EscrevePedido(pedido);
  ASSERT_EQ(Le(), pedido.size());
  EXPECT_EQ(Audit().back().dados, pedido);
}

TEST_F(InterPdvTeste, RefusedDatagramsAreLoggedAndTheNextRequestIsRead) {
  NV_MsgQueueDefineEsperas(0, 100);
  Abre();
  const Bytes bom = Pedido("001");
  ASSERT_TRUE(EnviaCru(kPedidos, Bytes{0x01, 0x02, 0x03, 250, 0x55}));       // no magic
  ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(250, Bytes(1497, 0x41))));        // too long
  ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(253, Bytes(10, 0x42))));          // dropped notice
  ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(252, Bytes(10, 0x43))));          // notification
  ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(250, {})));                       // empty
  ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(251, Bytes(20, 0x44))));          // never ends
  ASSERT_TRUE(EnviaCru(kPedidos, Datagrama(9, Bytes(10, 0x45))));            // unknown type
  EscrevePedido(Bytes(1496, 0x46));                                          // the largest
  EscrevePedido(bom);
  ASSERT_EQ(Le(), 1496u);
  EXPECT_EQ(buf_[1495], 0x46);
  ASSERT_EQ(Le(), bom.size());
  EXPECT_TRUE(std::equal(bom.begin(), bom.end(), buf_));
  EXPECT_TRUE(std::all_of(buf_ + bom.size(), buf_ + sizeof buf_, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(ContaLinhas("Erro - NV_MsgQueueRead retornou 90"), 1);
  EXPECT_GE(ContaLinhas("Erro - NV_MsgQueueRead retornou 74"), 2);
  EXPECT_EQ(ContaLinhas("Erro - NV_MsgQueueRead retornou mensagem vazia"), 1);
}

TEST_F(InterPdvTeste, ReplyAfterTheSwitchSideRestartedFailsOnceThenGoesThrough) {
  Abre();
  switch_->Fecha();
  switch_.reset();
  switch_ = std::make_unique<LeitorCru>(kRespostas);
  Bytes resposta = Pedido("007");
  EnviaRespostaPdv(resposta.data(), resposta.size());
  const Bytes q = Resposta();
  EXPECT_EQ(q[0], 7);
  EXPECT_EQ(Bytes(q.begin() + 2, q.end()), Pedido("007"));
  EXPECT_EQ(ContaLinhas("Erro - DosWriteQueue"), 1);

  // The reopened handle serves the next reply without a failure.
  resposta = Pedido("008");
  EnviaRespostaPdv(resposta.data(), resposta.size());
  EXPECT_EQ(Resposta()[0], 8);
  EXPECT_EQ(ContaLinhas("Erro - DosWriteQueue"), 1);
}

TEST_F(InterPdvTeste, ReplyWithNoReaderIsDroppedAfterItsAttempts) {
  Abre();
  DefineTentativasPdv(3, 10);
  switch_->Fecha();
  Bytes resposta = Pedido("001");
  EnviaRespostaPdv(resposta.data(), resposta.size());
  EXPECT_TRUE(std::all_of(resposta.begin(), resposta.end(), [](uint8_t b) { return b == 0; }));
  // The first write fails and is logged; the reopenings fail without a line.
  EXPECT_EQ(ContaLinhas("Erro - DosWriteQueue"), 1);

  switch_ = std::make_unique<LeitorCru>(kRespostas);
  resposta = Pedido("002");
  EnviaRespostaPdv(resposta.data(), resposta.size());
  EXPECT_EQ(Resposta()[0], 2);
}

TEST_F(InterPdvTeste, OpeningWaitsForTheSwitchSideOrAStop) {
  int resultado = -1;
  std::thread t([&] { resultado = inicia_comunicacao_pdv(77); });
  // The request queue exists before the reply queue is there.
  EnviaCruComEspera(kPedidos, Datagrama(250, Embaralhado(Pedido("001"))));
  switch_ = std::make_unique<LeitorCru>(kRespostas);
  t.join();
  EXPECT_EQ(resultado, 1);
  EXPECT_EQ(Le(), 30u);
  FechaComunicacaoPdv();

  switch_.reset();
  std::thread t2([&] { resultado = inicia_comunicacao_pdv(77); });
  PedeParada();
  t2.join();
  EXPECT_EQ(resultado, 0);
}

TEST_F(InterPdvTeste, AWakeEndsABlockedRead) {
  Abre();
  size_t n = 99;
  std::thread t([&] { n = Le(); });
  AcordaLeituraPdv();
  t.join();
  EXPECT_EQ(n, 0u);
}

TEST_F(InterPdvTeste, SinkTakesTheReplyInsteadOfTheQueue) {
  static Bytes capturada;
  DesviaRespostaPdv([](const uint8_t* m, size_t n) { capturada.assign(m, m + n); });
  Bytes resposta = Pedido("001");
  EnviaRespostaPdv(resposta.data(), resposta.size());
  EXPECT_EQ(capturada, Pedido("001"));
  EXPECT_TRUE(std::all_of(resposta.begin(), resposta.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(Audit().back().tipo, 49);
}

}  // namespace
