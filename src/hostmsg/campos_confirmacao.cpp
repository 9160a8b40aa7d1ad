// Builders of the 0202 confirmation advice: the values stored in the current
// record when the transaction was made, as read back from the log.  Field 39
// is "86" for a transaction that ended without a usable answer or was undone.
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/consistencia.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/registros_log.h"

int CampoConfCodProcessamento(const Campo& c) {
  return EnviaTexto(c, RegLog.CodProcessamento, sizeof RegLog.CodProcessamento);
}

int CampoConfValor(const Campo& c) { return EnviaTexto(c, RegLog.Valor, sizeof RegLog.Valor); }

int CampoConfDataHora(const Campo& c) {
  char valor[10];
  if (!AlinhaCampo(valor, RegLog.Data, 4) || !AlinhaCampo(valor + 4, RegLog.Hora, 6)) {
    ErroConsistencia("TAMANHO ERRADO", sizeof RegLog.Data, RegLog.Data);
    return RES_TAMANHO_ERRADO;
  }
  return MontaCampo(valor, sizeof valor, c);
}

int CampoConfNsu(const Campo& c) { return EnviaTexto(c, RegLog.Nsu, sizeof RegLog.Nsu); }

int CampoConfModoEntrada(const Campo& c) { return MontaCampo(RegLog.ModoEntrada, 3, c); }

int CampoConfAdquirente(const Campo& c) {
  return EnviaTexto(c, RegLog.Adquirente, sizeof RegLog.Adquirente);
}

int CampoConfCodResposta(const Campo& c) {
  if (RegLog.Estado == 5 || RegLog.Estado == 6 || RegLog.Estado == 134) return EnviaTexto(c, "86", 2);
  return EnviaTexto(c, RegLog.CodResposta, 2);
}

int CampoConfTerminal(const Campo& c) { return EnviaTexto(c, RegLog.Terminal, 8); }

int CampoConfEstabelecimento(const Campo& c) { return EnviaTexto(c, RegLog.Estabelecimento, 15); }

int CampoConfDocHost(const Campo& c) { return EnviaTexto(c, RegLog.DocHost, 9); }
