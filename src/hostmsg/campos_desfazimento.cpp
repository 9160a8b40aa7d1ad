// Builders of the undo advice 0420.  Every value comes from the advised
// record (the second log record buffer, RegLog2) except the date and time
// of now and the network-management sequence number.  A typed card travels
// in fields 2 and 14, a card read from the stripe in field 35, any other
// entry mode in all three.
#include <cstdio>
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/campos_originais.h"
#include "hostmsg/estado_builders.h"
#include "kovtiquetal/registros_log.h"
#include "nvpr/nv_time.h"

namespace {

constexpr size_t kTamTrilhaAviso = 37;

bool ModoEntradaE(const char* modo) { return std::memcmp(RegLog2.ModoEntrada, modo, 3) == 0; }

int EnviaHoraLocal(const Campo& c, const char* formato) {
  char texto[16];
  int n = NV_FormataHoraLocal(texto, sizeof texto, formato);
  return MontaCampo(texto, n > 0 ? static_cast<size_t>(n) : 0, c);
}

}  // namespace

int CampoAvisoCartao(const Campo& c) {
  if (ModoEntradaE("021")) return Declina(c);
  return EnviaTexto(c, RegLog2.Cartao, sizeof RegLog2.Cartao);
}

int CampoAvisoCodProcessamento(const Campo& c) {
  return EnviaTexto(c, RegLog2.CodProcessamento, sizeof RegLog2.CodProcessamento);
}

int CampoAvisoValor(const Campo& c) { return EnviaTexto(c, RegLog2.Valor, sizeof RegLog2.Valor); }

int CampoAvisoDataHora(const Campo& c) { return EnviaHoraLocal(c, "%m%d%H%M%S"); }

int CampoAvisoData(const Campo& c) { return EnviaHoraLocal(c, "%m%d"); }

// The sequence number goes out and moves on, from 999999 back to 980000.
int CampoAvisoSequencia(const Campo& c) {
  char texto[16];
  int n = std::snprintf(texto, sizeof texto, "%lu", static_cast<unsigned long>(NumSeqRede));
  int r = MontaCampo(texto, static_cast<size_t>(n), c);
  if (r != 0) return r;
  ++NumSeqRede;
  if (NumSeqRede > kNumSeqRedeMaximo) NumSeqRede = kNumSeqRedeInicio;
  return 0;
}

int CampoAvisoValidade(const Campo& c) {
  if (ModoEntradaE("021")) return Declina(c);
  return EnviaTexto(c, RegLog2.Validade, sizeof RegLog2.Validade);
}

int CampoAvisoModoEntrada(const Campo& c) { return MontaCampo(RegLog2.ModoEntrada, 3, c); }

int CampoAvisoAdquirente(const Campo& c) {
  return EnviaTexto(c, RegLog2.Adquirente, sizeof RegLog2.Adquirente);
}

// A 37-character track made of the card number, "=" and zeros.
int CampoAvisoTrilha(const Campo& c) {
  if (ModoEntradaE("011")) return Declina(c);
  char trilha[kTamTrilhaAviso];
  std::memset(trilha, '0', sizeof trilha);
  size_t n = strnlen(RegLog2.Cartao, sizeof RegLog2.Cartao - 1);
  std::memcpy(trilha, RegLog2.Cartao, n);
  trilha[n] = '=';
  int r = MontaCampo(trilha, sizeof trilha, c);
  explicit_bzero(trilha, sizeof trilha);
  return r;
}

int CampoAvisoTerminal(const Campo& c) { return EnviaTexto(c, RegLog2.Terminal, 8); }

int CampoAvisoEstabelecimento(const Campo& c) { return EnviaTexto(c, RegLog2.Estabelecimento, 15); }

// The original data elements of the advised transaction: its message type,
// NSU, first send date and time and acquirer.  An authorisation (")") has no
// acquirer: eleven zeros stand in for it, in the record as well.
int CampoAvisoDadosOriginais(const Campo& c) {
  const char* tipo = "0200";
  if (RegLog2.CodTrn == '6' || RegLog2.CodTrn == '7' || RegLog2.CodTrn == '#') tipo = "0400";
  else if (RegLog2.CodTrn == ')') tipo = "0100";
  if (RegLog2.CodTrn == ')') {
    std::memset(RegLog2.Adquirente, '0', 11);
    RegLog2.Adquirente[11] = 0;
  }
  return EnviaDadosOriginais(c, tipo, RegLog2.Nsu, RegLog2.DataEnvio, RegLog2.HoraEnvio,
                             RegLog2.Adquirente);
}
