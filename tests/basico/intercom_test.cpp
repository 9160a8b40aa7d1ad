// The host link against real queues: envelopes out through the transmit
// channel and in through the receive channel, the obfuscation that follows
// the drivers, refused envelopes and datagrams followed by the next
// message, the transmit queue that appears late or never, and the stop.
#include <cstring>
#include <thread>

#include "basico/intercom.h"
#include "basico/libcomdrivers.h"
#include "comms/ofusca.h"
#include "intercom_apoio.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"

namespace {

constexpr const char* kTx = "Kovra/Drivers/TX-25";
constexpr const char* kRx = "Kovra/Drivers/RX-25";
const uint8_t kRota[8] = {'0', '0', '1', '2', '3', '4', '5', '6'};

Bytes Envelope(uint8_t tipo, const Bytes& carga) {
  Bytes e = {tipo};
  e.insert(e.end(), kRota, kRota + 8);
  e.insert(e.end(), carga.begin(), carga.end());
  return e;
}

class InterComTeste : public LinksTeste {
 protected:
  void SetUp() override {
    LinksTeste::SetUp();
    ASSERT_EQ(IniciaDrivers(77), 0);
  }
  // The drivers write one envelope to the module (scrambled).
  void Injeta(const Bytes& env) { EnviaCruComEspera(kRx, Datagrama(250, Embaralhado(env))); }
  Bytes Recebe() {
    size_t n = recebe_host(buf_, 2048);
    return Bytes(buf_, buf_ + n);
  }
  // The next envelope the drivers read, unscrambled.
  Bytes Enviado(LeitorCru& drivers, int espera_ms = 5000) {
    Bytes q;
    EXPECT_TRUE(drivers.Recebe(&q, espera_ms));
    return Desembaralhado(q);
  }
  uint8_t buf_[2048];
};

TEST_F(InterComTeste, EnvelopesBothWaysWithTheirAuditRecords) {
  LeitorCru drivers(kTx);
  envia_host(1, kRota, "0200ABC", 7);
  EXPECT_EQ(Enviado(drivers), Envelope(1, Texto("0200ABC")));

  Injeta(Envelope(0, Texto("0210XYZ")));
  EXPECT_EQ(Recebe(), Texto("0210XYZ"));

  const auto audit = Audit();
  ASSERT_EQ(audit.size(), 2u);
  EXPECT_EQ(audit[0].tipo, 51);
  EXPECT_EQ(audit[0].dados, Texto("0200ABC"));
  EXPECT_EQ(audit[1].tipo, 52);
  EXPECT_EQ(audit[1].dados, Envelope(0, Texto("0210XYZ")));
  EXPECT_EQ(ContaLinhas("Via MsgQueue"), 1);
}

TEST_F(InterComTeste, ObfuscationFollowsTheLastEnvelopeReceived) {
  LeitorCru drivers(kTx);
  const Bytes claro = Texto("0810 carga de tabelas");
  Bytes ofuscado = claro;
  OfuscaPayload(ofuscado.data(), ofuscado.size());

  Injeta(Envelope(129, ofuscado));
  EXPECT_EQ(Recebe(), claro);
  EXPECT_TRUE(OfuscacaoHost());
  envia_host(0, kRota, claro.data(), claro.size());
  EXPECT_EQ(Enviado(drivers), Envelope(0x80, ofuscado));

  Injeta(Envelope(0, claro));
  EXPECT_EQ(Recebe(), claro);
  EXPECT_FALSE(OfuscacaoHost());
  envia_host(0, kRota, claro.data(), claro.size());
  EXPECT_EQ(Enviado(drivers), Envelope(0, claro));

  // Kind 127 asks for obfuscation without being obfuscated itself.
  Injeta(Envelope(127, claro));
  EXPECT_EQ(Recebe(), claro);
  EXPECT_TRUE(OfuscacaoHost());
}

TEST_F(InterComTeste, ShortEnvelopesBadDatagramsAndOversizedPayloadsAreDropped) {
  DefinePausaRecepcaoHost(10);
  EnviaCruComEspera(kRx, Datagrama(250, Embaralhado(Bytes{0, '0', '0', '1', '2'})));
  EnviaCruComEspera(kRx, Bytes{0x00, 0x11, 0x22, 250, 0x33});
  Injeta(Envelope(0, Bytes(2049, 'A')));
  Injeta(Envelope(0, Bytes(2048, 'B')));
  Injeta(Envelope(0, Texto("0210")));
  const Bytes maior = Recebe();
  EXPECT_EQ(maior, Bytes(2048, 'B'));
  EXPECT_EQ(Recebe(), Texto("0210"));
  EXPECT_EQ(ContaLinhas("Erro - envelope do Host com 5 bytes"), 1);
  EXPECT_EQ(ContaLinhas("Erro - NV_MsgQueueRead (Kovra/Drivers/RX-25) retornou 74"), 1);
}

TEST_F(InterComTeste, MessageSentBeforeTheDriversQueueExistsGoesOutWhenItAppears) {
  envia_host(0, kRota, "0800", 4);
  NV_Sleep(300);   // the sender has tried and failed at least once
  LeitorCru drivers(kTx);
  EXPECT_EQ(Enviado(drivers), Envelope(0, Texto("0800")));
}

TEST_F(InterComTeste, MessageOlderThanTwentySecondsIsDropped) {
  envia_host(0, kRota, "0800", 4);
  NV_Sleep(300);
  NV_RelogioAvanca(21000);
  NV_Sleep(300);   // the sender's next attempt finds it too old
  LeitorCru drivers(kTx);
  envia_host(0, kRota, "0801", 4);
  EXPECT_EQ(Enviado(drivers), Envelope(0, Texto("0801")));
  Bytes outro;
  EXPECT_FALSE(drivers.Recebe(&outro, 300));
  NV_RelogioReal();
}

TEST_F(InterComTeste, UnknownNumberAndOversizedReceive) {
  EXPECT_EQ(EnviaDriver(78, "x", 1), -1);
  EXPECT_EQ(RecebeDriver(78, buf_, sizeof buf_, 0), -1);
  EXPECT_EQ(IniciaDrivers(77), 0);   // registered before: the same pair
  EXPECT_EQ(RecebeDriver(77, buf_, sizeof buf_, 50), 0);
  Injeta(Envelope(0, Texto("0123456789")));
  EXPECT_EQ(RecebeDriver(77, buf_, 5, 5000), 0);   // longer than the room: dropped
  Injeta(Envelope(0, Texto("01")));
  EXPECT_EQ(RecebeDriver(77, buf_, sizeof buf_, 5000), 11);
}

TEST_F(InterComTeste, StopEndsABlockedReceiveAndWritesWhatTheChannelHolds) {
  LeitorCru drivers(kTx);
  size_t n = 99;
  std::thread rx([&] { n = recebe_host(buf_, 2048); });
  for (int i = 0; i < 5; ++i) envia_host(0, kRota, "0420", 4);
  EncerraRecebeDriver();
  rx.join();
  EXPECT_EQ(n, 0u);
  ParaDrivers();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Enviado(drivers, 1000), Envelope(0, Texto("0420")));
  EXPECT_EQ(EnviaDriver(77, "x", 1), 0);
}

TEST_F(InterComTeste, SinkTakesTheHostMessageInsteadOfTheDrivers) {
  static Bytes capturada;
  static uint8_t tipo = 0xFF;
  DesviaEnvioHost([](uint8_t t, const uint8_t* rota, const uint8_t* p, size_t n) {
    tipo = t;
    capturada.assign(rota, rota + 8);
    capturada.insert(capturada.end(), p, p + n);
  });
  envia_host(1, kRota, "0200", 4);
  EXPECT_EQ(tipo, 1);
  const Bytes esperado = Envelope(1, Texto("0200"));
  EXPECT_EQ(capturada, Bytes(esperado.begin() + 1, esperado.end()));
  EXPECT_EQ(Audit().back().tipo, 51);
}

}  // namespace
