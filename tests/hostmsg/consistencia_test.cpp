// The console dump of a refused value: the values of the fields that carry
// card data show only the first six and last four digits of the card
// number (the acquirer code only its first six), nothing of a track beyond
// the number but its separators, and nothing of a PIN block, with one
// "%02x  " per byte as for any other field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hostmsg/consistencia.h"
#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_envio.h"
#include "hostmsg/msg_envio.h"
#include "hostmsg_teste.h"
#include "kovtiquetal/registros.h"

namespace {

// The console lines of a refusal, with the value shown as `mostrado`.
std::string Linhas(const char* texto, const std::string& mostrado) {
  std::string s = std::string("Erro Consistencia: ") + texto + "\n";
  char par[5];
  for (unsigned char c : mostrado) {
    std::snprintf(par, sizeof par, "%02x  ", c);
    s += par;
  }
  return s + "\n";
}

class ConsistenciaTeste : public HostMsgTeste {};

TEST_F(ConsistenciaTeste, RefusedCardFieldsAreMasked) {
  const std::string trilha2 = "5555444433332226=25122010000012345678";   // 37 characters
  const std::string trilha1 = "B6062821234567890120^SILVA/JOAO^2512101" + std::string(40, '0');
  struct Caso {
    int campo;
    std::string valor;
    int resultado;
    std::string mostrado;
  };
  const Caso kCasos[] = {
      // The character that made the value inconsistent stays visible.
      {2, "4111x11111111111", 5, "4111x11*****1111"},
      {2, "4000001234562F", 5, "400000***4562F"},
      {2, "6062821234567890120A", 5, "606282*********0120A"},
      {2, "1234567890F", 5, "**********F"},   // ten digits or fewer: all hidden
      {35, ";" + trilha2 + "9?", 6, ";555544******2226=*********************?"},
      {35, ";123456789012?", 6, ";123456**9012?"},
      {45, trilha1, 6,
       "B606282*********0120^**********^" + std::string(trilha1.size() - 32, '*')},
      {52, std::string("\x01\x23\x45\x67\x89\xab\xcd\xef\x00", 9), 6, std::string(9, '*')},
      // Chip data objects carry the card number (5A) and the track (57).
      {55, "5A084111111111111111" + std::string(980, '0'), 6, std::string(1000, '*')},
      // Fields without card data are shown as they are.
      {4, "12a4", 5, "12a4"},
      {42, std::string(16, '4'), 6, std::string(16, '4')},
  };
  for (const Caso& k : kCasos) {
    ASSERT_EQ(IniciaMensagem(buffer_, "0200", sizeof buffer_), 0);
    Campo c;
    ASSERT_TRUE(BuscaCampo(k.campo, &c));
    testing::internal::CaptureStdout();
    EXPECT_EQ(MontaCampo(k.valor.data(), k.valor.size(), c), k.resultado) << k.campo;
    const char* texto = k.resultado == 5 ? "DADOS INCONSISTENTES" : "TAMANHO ERRADO";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), Linhas(texto, k.mostrado))
        << k.campo << " " << k.valor;
  }
}

TEST_F(ConsistenciaTeste, BuildersShowNoCardDataOnTheConsole) {
  PreparaVendaTarja();
  struct Caso {
    const char* cartao;
    const char* bloco;
    int resultado;
    std::string console;
  };
  const Caso kCasos[] = {
      // The PDV's PIN block, too long or not hexadecimal: all of it hidden.
      {"4111111111111111=25122010000012345678", "0123456789ABCDEF0", 6,
       Linhas("TAMANHO ERRADO", std::string(17, '*'))},
      {"4111111111111111=25122010000012345678", "0123456789ABCDEG", 5,
       Linhas("DADOS INCONSISTENTES", std::string(16, '*'))},
      // A short card number brings its separator into field 32.
      {"1234567890=2512", "", 5, Linhas("DADOS INCONSISTENTES", "123456****=")},
  };
  for (const Caso& k : kCasos) {
    std::strcpy(TransacaoPdv.Cartao, k.cartao);
    std::strcpy(TransacaoPdv.BlocoPin, k.bloco);
    EXPECT_EQ(Monta(MODO_CODIGO, "0"), k.resultado) << k.cartao << " " << k.bloco;
    EXPECT_EQ(console_, k.console);
  }
}

TEST(Consistencia, PlainDumpShowsEveryByte) {
  testing::internal::CaptureStdout();
  ErroConsistencia("TRN INDEFINIDA", 3, "4111");
  ErroConsistencia("TAMANHO ERRADO", 0, nullptr);
  ErroConsistenciaCampo("TAMANHO ERRADO", 2, 0, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Erro Consistencia: TRN INDEFINIDA\n34  31  31  \n"
            "Erro Consistencia: TAMANHO ERRADO\n\n"
            "Erro Consistencia: TAMANHO ERRADO\n\n");
}

}  // namespace
