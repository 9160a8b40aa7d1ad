// Builders of the sale, authorisation and table-load requests that take
// their values from the PDV transaction record or the company: card number,
// processing code, amount, expiry, entry mode, acquirer, track, table
// version, instalments and the cancelled document.  Each keeps a copy of
// what it sent in the current log record where the log has a field for it.
#include <cstdio>
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/consistencia.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/empresa.h"
#include "kovtiquetal/registros_log.h"
#include "kovtiquetal/transacao_pdv.h"
#include "services/texto.h"

namespace {

constexpr char kCodigoCargaFinal[] = "960000";

}  // namespace

int CampoCartaoDigitado(const Campo& c) {
  const char* cartao = TransacaoPdv.Cartao;
  return EnviaEGuarda(c, cartao, strnlen(cartao, sizeof TransacaoPdv.Cartao), RegLog.Cartao);
}

int CampoCodProcessamento(const Campo& c) {
  const char* cod = TransacaoPdv.CodProcessamento;
  return EnviaEGuarda(c, cod, strnlen(cod, 6), RegLog.CodProcessamento);
}

// While a table load runs (state 3) the 0800 asks for the next part with the
// processing code of the last 0810; otherwise it asks for the first part.
int CampoCodProcessamentoCarga(const Campo& c) {
  const char* cod = kCodigoCargaFinal;
  if (EmpresaAtual != nullptr && EmpresaAtual->EstadoCarga == kCargaMaisPartes)
    cod = EmpresaAtual->CodProcessamentoCarga;
  return EnviaEGuarda(c, cod, strnlen(cod, 6), RegLog.CodProcessamento);
}

int CampoValor(const Campo& c) {
  const char* v = TransacaoPdv.Valor;
  return EnviaEGuarda(c, v, strnlen(v, sizeof TransacaoPdv.Valor), RegLog.Valor);
}

int CampoValidade(const Campo& c) {
  const char* v = TransacaoPdv.Validade;
  return EnviaEGuarda(c, v, strnlen(v, sizeof TransacaoPdv.Validade), RegLog.Validade);
}

// "011" for a typed card; for a card read, the chip's entry mode when chip
// data came with the request, else "021" (magnetic stripe).
int CampoModoEntrada(const Campo& c) {
  const char* modo = "021";
  if (TransacaoPdv.Entrada == '2') modo = "011";
  else if (TransacaoPdv.ChipPresente) modo = TransacaoPdv.EMV_Flag;
  int r = MontaCampo(modo, strnlen(modo, 3), c);
  if (r != 0) return r;
  std::memcpy(RegLog.ModoEntrada, MsgEnvio.buffer + MsgEnvio.pos - 3, 3);
  return RES_MONTADA;
}

// The first 11 characters of the card text.  A track whose card number has
// fewer than 11 digits brings its "=" into the field and is refused (5).
int CampoAdquirente(const Campo& c) {
  const char* cartao = TransacaoPdv.Cartao;
  return EnviaEGuarda(c, cartao, strnlen(cartao, 11), RegLog.Adquirente);
}

// The card text as track data; the codec keeps the card number.
int CampoTrilha(const Campo& c) {
  const char* cartao = TransacaoPdv.Cartao;
  return MontaCampo(cartao, strnlen(cartao, sizeof TransacaoPdv.Cartao), c);
}

int CampoVersaoTabela(const Campo& c) {
  const char* versao = EmpresaAtual != nullptr ? EmpresaAtual->VersaoTabela : "";
  return EnviaTexto(c, versao, 6);
}

// Instalments "%02d"; "01" for none and for the at-sight processing codes.
int CampoParcelas(const Campo& c) {
  long long n = TextoParaInt(TransacaoPdv.Parcelas);
  if (n < 0) {
    ErroConsistencia("DADOS INCONSISTENTES", strnlen(TransacaoPdv.Parcelas, 2),
                     TransacaoPdv.Parcelas);
    return RES_DADOS_INCONSISTENTES;
  }
  if (n == 0 || ProcessamentoEntre(TransacaoPdv.CodProcessamento, "003000", "032000")) n = 1;
  char texto[24];
  int k = std::snprintf(texto, sizeof texto, "%02lld", n);
  return EnviaEGuarda(c, texto, static_cast<size_t>(k), RegLog.Parcelas);
}

// The document being cancelled, right-aligned in 9 zero-filled characters;
// the record keeps it as the PDV gave it.
int CampoDocOriginal(const Campo& c) {
  char doc[9];
  if (!AlinhaCampo(doc, TransacaoPdv.DocOriginal, sizeof doc)) {
    ErroConsistencia("TAMANHO ERRADO", strnlen(TransacaoPdv.DocOriginal, 10),
                     TransacaoPdv.DocOriginal);
    return RES_TAMANHO_ERRADO;
  }
  int r = MontaCampo(doc, sizeof doc, c);
  if (r != 0) return r;
  CopiaLimitada(RegLog.DocOriginal, sizeof RegLog.DocOriginal, TransacaoPdv.DocOriginal);
  return RES_MONTADA;
}
