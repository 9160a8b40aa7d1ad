// Builders of the cancellation request 0400 that depend on the transaction
// being cancelled.  Field 2 first finds that original transaction in the
// company's log: the day the PDV named (today when none), then the calendar
// day before, each scanned from its newest record back, for the first record
// of this network whose host document is the one given.  No original gives
// result 9; one whose amount or card differs from the request gives 10.
// Fields 22 and 90 then send the original's entry mode and data elements.
#include <cstdio>
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/campos_originais.h"
#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/empresa.h"
#include "kovtiquetal/registros_log.h"
#include "kovtiquetal/transacao_pdv.h"
#include "nvpr/nv_time.h"
#include "services/depura.h"
#include "services/texto.h"
#include "txlog/txlog.h"

namespace {

constexpr uint8_t kCodigoRede = 77;
constexpr size_t kTamDocumento = 9;
constexpr size_t kMaxCartaoTrilha = 17;

struct Dia {
  int ano, mes, dia;
};

int DiasDoMes(int ano, int mes) {
  switch (mes) {
    case 2: return ano % 4 == 0 ? 29 : 28;
    case 4: case 6: case 9: case 11: return 30;
    default: return 31;
  }
}

// The date the PDV gave (DDMM), or today's; its year as the log resolves
// an MMDD: this year when the current month is that month or later, else
// the year before.  False for a date that is not a day of the calendar.
bool DataDoOriginal(Dia* d) {
  NV_DataHora agora;
  NV_HoraLocal(&agora);
  const char* ddmm = TransacaoPdv.DataOriginal;
  if (ddmm[0] == 0) {
    *d = Dia{agora.ano, agora.mes, agora.dia};
    return true;
  }
  for (int i = 0; i < 4; ++i)
    if (ddmm[i] < '0' || ddmm[i] > '9') return false;
  if (ddmm[4] != 0) return false;
  d->dia = static_cast<int>(TextoParaIntFixo(ddmm, 2));
  d->mes = static_cast<int>(TextoParaIntFixo(ddmm + 2, 2));
  d->ano = agora.mes >= d->mes ? agora.ano : agora.ano - 1;
  return d->mes >= 1 && d->mes <= 12 && d->dia >= 1 && d->dia <= DiasDoMes(d->ano, d->mes);
}

Dia DiaAnterior(Dia d) {
  if (--d.dia >= 1) return d;
  if (--d.mes < 1) {
    d.mes = 12;
    --d.ano;
  }
  d.dia = DiasDoMes(d.ano, d.mes);
  return d;
}

// The host document of a record, right-aligned in 9 zero-filled characters;
// false when the record has none.
bool DocumentoDoRegistro(const RegistroLog& r, char doc[kTamDocumento]) {
  size_t n = strnlen(r.DocHost, kTamDocumento);
  return n > 0 && AlinhaDireita(doc, r.DocHost, n, kTamDocumento);
}

// Scans one day backwards; true with the original in the builders' state.
bool BuscaNoDia(const char* empresa, const Dia& d, const char doc[kTamDocumento]) {
  char mmdd[5];
  std::snprintf(mmdd, sizeof mmdd, "%02d%02d", d.mes, d.dia);
  VarreduraLog v;
  if (AbreVarreduraLog(&v, empresa, mmdd, LOG_VARREDURA_TRAS) != 0) return false;
  RegistroLog r;
  bool achou = false;
  while (!achou && ProximoLog(&v, &r, nullptr) == 0) {
    char doc_registro[kTamDocumento];
    achou = r.Rede == kCodigoRede && DocumentoDoRegistro(r, doc_registro) &&
            std::memcmp(doc_registro, doc, kTamDocumento) == 0;
  }
  FechaVarreduraLog(&v);
  if (achou) EstadoHostMsg.builders.original = r;
  explicit_bzero(&r, sizeof r);
  return achou;
}

// Finds the original transaction and checks it against the request: 0, 9
// or 10.  On a match the current record takes the original's NSU.
int ConfereOriginal(bool copia_parcelas) {
  RegistroLog& original = EstadoHostMsg.builders.original;
  std::memset(&original, 0, sizeof original);
  char doc[kTamDocumento];
  Dia d;
  if (EmpresaAtual == nullptr || !AlinhaCampo(doc, TransacaoPdv.DocOriginal, kTamDocumento) ||
      !DataDoOriginal(&d))
    return RES_DOC_NAO_EXISTE;
  if (!BuscaNoDia(EmpresaAtual->Codigo, d, doc) &&
      !BuscaNoDia(EmpresaAtual->Codigo, DiaAnterior(d), doc))
    return RES_DOC_NAO_EXISTE;

  size_t tam_cartao = strnlen(original.Cartao, sizeof original.Cartao);
  // The record's fields are read within their widths: one read from disk
  // need not end in a zero.
  if (TextoParaInt(TransacaoPdv.Valor) !=
          TextoParaIntFixo(original.Valor, static_cast<int>(sizeof original.Valor)) ||
      std::strncmp(TransacaoPdv.Cartao, original.Cartao, tam_cartao) != 0) {
    Depura("Dados Invalido 1");
    return RES_DADOS_INVALIDOS;
  }
  CopiaCampo(RegLog.NsuOriginal, original.Nsu);
  if (copia_parcelas) CopiaCampo(TransacaoPdv.Parcelas, original.Parcelas);
  return RES_MONTADA;
}

}  // namespace

// Codes "6" and "#": the card number read from the request's track.
int CampoCartaoCancelamento(const Campo& c) {
  int r = ConfereOriginal(true);
  if (r != RES_MONTADA) return r;
  const char* cartao = TransacaoPdv.Cartao;
  size_t n = strcspn(cartao, "=");
  if (n > kMaxCartaoTrilha) n = kMaxCartaoTrilha;
  return EnviaEGuarda(c, cartao, n, RegLog.Cartao);
}

// Code "7": the card number the log holds for the original transaction.
int CampoCartaoCancelamentoDigitado(const Campo& c) {
  int r = ConfereOriginal(false);
  if (r != RES_MONTADA) return r;
  const RegistroLog& original = EstadoHostMsg.builders.original;
  return EnviaEGuarda(c, original.Cartao, strnlen(original.Cartao, sizeof original.Cartao),
                      RegLog.Cartao);
}

int CampoModoEntradaOriginal(const Campo& c) {
  const RegistroLog& original = EstadoHostMsg.builders.original;
  int r = MontaCampo(original.ModoEntrada, 3, c);
  if (r == 0) std::memcpy(RegLog.ModoEntrada, original.ModoEntrada, 3);
  return r;
}

int CampoDadosOriginais(const Campo& c) {
  const RegistroLog& o = EstadoHostMsg.builders.original;
  int r = EnviaDadosOriginais(c, "0200", o.Nsu, o.Data, o.Hora, o.Adquirente);
  if (r != 0) return r;
  std::memcpy(RegLog.Adquirente, o.Adquirente, sizeof RegLog.Adquirente);
  std::memcpy(RegLog.DocOriginal, o.DocHost, sizeof RegLog.DocOriginal);
  std::memcpy(RegLog.DataOriginal, o.Data, sizeof RegLog.DataOriginal);
  std::memcpy(RegLog.HoraOriginal, o.Hora, sizeof RegLog.HoraOriginal);
  return RES_MONTADA;
}
