// The dispatch of a PDV request: the checks of its header against what was
// received, then one table by message type and, for type 1, one by
// sub-type.  Requests of unknown types are dumped on the console and never
// answered.
#include <cstdio>
#include <cstring>

#include "basico/interpdv_mascara.h"
#include "hostmsg/consistencia.h"
#include "kovtiquetal/fluxos.h"
#include "kovtiquetal/modulo.h"
#include "kovtiquetal/protocolo_pdv.h"
#include "services/trace.h"

namespace {

using TratadorPdv = void (*)();

struct RotaPdv {
  uint8_t codigo;
  TratadorPdv trata;
};

// Type 1 by sub-type; any other sub-type is a transaction request.
constexpr RotaPdv kRotasTransacao[] = {
    {kSubAbreTerminal, AbreTerminal},
    {kSubSolicitaCarga, AbreTerminal},
    {kSubFechaTerminal, FechaTerminal},
    {kSubFechaSemResposta, FechaTerminal},
};

void DespachaTransacao() {
  ResolveAnteriorDoTerminal();
  const uint8_t sub = MsgPdv[kPosSubTipoPdv];
  for (const RotaPdv& r : kRotasTransacao)
    if (r.codigo == sub) return r.trata();
  TrataTransacao();
}

constexpr RotaPdv kRotasTipo[] = {
    {kTipoTransacao, DespachaTransacao},
    {kTipoDesfazUltima, DesfazUltima},
    {kTipoConfirmacao, ConfirmaTransacao},
    {kTipoNaoConfirmacao, NaoConfirmaTransacao},
    {kTipoConfirmaDocumento, ConfirmaPorDocumento},
    {kTipoDesfazDocumento, DesfazPorDocumento},
};

constexpr const char* kMsgErrada = "MSG PDV ERRADO";

// The "MSG PDV ERRADO" dump of the current message.  The console may be
// captured to a file, so a typed card number shows only its first six and
// last four digits (the others as '*', 2a).
void DespejaMsgErrada() {
  uint8_t copia[kTamMsgPdv];
  const size_t n = TamMsgPdv < sizeof copia ? TamMsgPdv : sizeof copia;
  std::memcpy(copia, MsgPdv, n);
  OcultaCartoesPdv(copia, n);
  ErroConsistencia(kMsgErrada, n, copia);
  explicit_bzero(copia, n);
}

// A request whose header does not hold together: a line in the message log
// and the console dump, no reply.
bool CabecalhoValido() {
  if (TamMsgPdv < kTamCabecalhoPdv) {
    EscreveMensagemF("Erro - msg PDV de %u bytes, menor que o cabecalho", TamMsgPdv);
    DespejaMsgErrada();
    return false;
  }
  const unsigned dados = LeU16(MsgPdv + kPosTamDadosPdv);
  if (kTamCabecalhoPdv + dados > TamMsgPdv) {
    EscreveMensagemF("Erro - msg PDV com %u bytes de dados e %u recebidos", dados,
                     static_cast<unsigned>(TamMsgPdv - kTamCabecalhoPdv));
    DespejaMsgErrada();
    return false;
  }
  return true;
}

}  // namespace

void DespachaMsgPdv() {
  if (!CabecalhoValido()) return;
  const uint8_t tipo = MsgPdv[kPosTipoPdv];
  for (const RotaPdv& r : kRotasTipo)
    if (r.codigo == tipo) return r.trata();
  DespejaMsgErrada();
}
