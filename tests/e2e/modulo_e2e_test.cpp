// The real module process on a temporary drive, with kovsim playing the
// switch's PDV side and its drivers: the service announcement, the terminal
// close answered and unanswered, wrong requests dumped and unanswered, a
// host envelope reaching RxHost, a reply across a restart of the PDV side,
// and the orderly stop on SIGTERM.
#include <cstring>

#include "e2e_apoio.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kEsperaMs = 60000;

Bytes Pedido(unsigned char tipo, unsigned char subtipo, const std::string& dados = "") {
  return PedidoPdv(tipo, subtipo, dados);
}

// Each text found in order, each after the previous one.
void EsperaEmOrdem(const std::string& saida, const std::vector<std::string>& trechos) {
  size_t pos = 0;
  for (const auto& t : trechos) {
    const size_t achado = saida.find(t, pos);
    ASSERT_NE(achado, std::string::npos) << "missing after offset " << pos << ": " << t << "\n" << saida;
    pos = achado + t.size();
  }
}

std::string Despejo(const Bytes& m) {
  std::string s = "Erro Consistencia: MSG PDV ERRADO\n";
  for (unsigned char b : m) {
    char h[8];
    std::snprintf(h, sizeof h, "%02x  ", b);
    s += h;
  }
  return s + "\n";
}

TEST_F(E2eTeste, ModuleAnnouncesAnswersItsRequestsCarriesHostMessagesAndStops) {
  const Bytes tipo3 = Pedido(3, 1, "abc");
  const Bytes curto(12, 0x01);
  Bytes dados_demais = Pedido(1, 2, "ab");
  dados_demais[28] = 40;
  auto pdv = IniciaKovsim(
      "pdv", {"pdv", "--send-hex", HexMinusculo(tipo3), "--send-hex", HexMinusculo(curto),
              "--send-hex", HexMinusculo(dados_demais), "--send-hex", HexMinusculo(Pedido(1, 4)),
              "--close", "--terminal", "T0000001", "--company", "00000001", "--subtype", "2",
              "--count", "2", "--wait", "30000"});
  auto modulo = IniciaModulo();

  int status = -1;
  ASSERT_TRUE(pdv->Espera(kEsperaMs, &status));
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Saida("pdv.err") << Saida("modulo.err");
  // Only the announcement and the reply to the close of sub-type 2: the
  // requests before it were handled in order and answered nothing.
  const std::string recebido = Saida("pdv.out");
  EsperaEmOrdem(recebido, {"message 1: 40 bytes, route 0",
                           "type 0, subtype 254, terminal \"\", queue \"\", seq 0, reserved "
                           "00000000, company \"********\", data 10",
                           "field y (8 bytes): \"1;2;3;4;\"",
                           "message 2: 135 bytes, route 1",
                           "type 0, subtype 2, terminal \"T0000001\", queue \"001\"",
                           "field D (16 bytes): \"Terminal Fechado\"",
                           "field H: code \"00\" date \"\""});
  EXPECT_EQ(recebido.find("message 3"), std::string::npos);

  // The wrong requests are dumped on the console, in order.
  EsperaEmOrdem(Saida("modulo.out"), {Despejo(tipo3), Despejo(curto), Despejo(dados_demais)});

  // An envelope from the drivers reaches RxHost.
  ASSERT_EQ(ExecutaKovsim("drivers", {"drivers", "--inject-hex", "303831303132", "--wait", "200"}), 0)
      << Saida("drivers.err");
  EXPECT_TRUE(EsperaAte(
      [&] { return Saida("modulo.err").find("RxHost: msg do Host de 6 bytes") != std::string::npos; },
      kEsperaMs))
      << Saida("modulo.err");

  ParaModulo(modulo.get());
  EXPECT_EQ(ContaLinhasMensagem("Modulo Tiquetal encerrado"), 1);
}

TEST_F(E2eTeste, ReplyAfterThePdvSideRestartedFailsOnceAndThenGoesThrough) {
  auto primeiro = IniciaKovsim("pdv1", {"pdv", "--count", "1", "--wait", "30000"});
  auto modulo = IniciaModulo();
  int status = -1;
  ASSERT_TRUE(primeiro->Espera(kEsperaMs, &status));
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Saida("pdv1.err") << Saida("modulo.err");
  EXPECT_NE(Saida("pdv1.out").find("\"1;2;3;4;\""), std::string::npos);

  // The PDV side comes back with a new reply queue; the module's handle
  // still points at the old one.
  ASSERT_EQ(ExecutaKovsim("pdv2", {"pdv", "--close", "--terminal", "T0000002", "--company",
                                   "00000001", "--count", "1", "--wait", "30000"}),
            0)
      << Saida("pdv2.err") << Saida("modulo.err");
  EXPECT_NE(Saida("pdv2.out").find("field D (16 bytes): \"Terminal Fechado\""), std::string::npos);
  EXPECT_EQ(ContaLinhasMensagem("Erro - DosWriteQueue"), 1);

  ParaModulo(modulo.get());
}

}  // namespace
