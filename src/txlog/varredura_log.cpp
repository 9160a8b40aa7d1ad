// Scans of one company's day file, forward or backward, over handles of
// their own, with the rewrite of the record last returned.  The scans take
// no library mutex: their callers serialise them (the module's global lock,
// or start-up before any other thread uses the log).
#include <algorithm>
#include <cstring>
#include <vector>

#include "nvpr/nv_error.h"
#include "txlog/arquivos_log.h"
#include "txlog/datas_log.h"
#include "txlog/nsu.h"
#include "txlog/operacoes_log.h"
#include "txlog/slots_log.h"

int AbreVarreduraLog(VarreduraLog* v, const char* empresa, const char* mmdd, int direcao) {
  if (v == nullptr) return NV_EINVAL;
  FechaVarreduraLog(v);
  NV_Trava trava(&g_mutex_log);
  const EstadoLog& e = g_log;
  if (!e.definido) return LOG_LE_SEM_DEFINICAO;
  MomentoLog m;
  MomentoAtual(&m);
  int data = 0;
  int rc = DataDaVarredura(mmdd, m.local, &data);
  if (rc != 0) return rc;
  char emp[9], term[9];
  if ((rc = ChaveArquivosLog(empresa, nullptr, data, emp, term)) != 0) return rc;
  rc = AbreArquivosLog(emp, term, data, false, &v->principal, &v->secundario, &v->tem_secundario);
  if (rc != 0) return rc;
  int64_t slots = 0;
  if (ContaSlots(&v->principal, e.def.TamanhoPrincipal, &slots) != 0) {
    FechaVarreduraLog(v);
    return LOG_TAMANHO_INDISPONIVEL;
  }
  std::memset(v->empresa, 0, sizeof v->empresa);
  if (empresa != nullptr) std::strncpy(v->empresa, empresa, 8);
  v->data = data;
  v->direcao = direcao == LOG_VARREDURA_FRENTE ? LOG_VARREDURA_FRENTE : LOG_VARREDURA_TRAS;
  // The last slot is the last whole one; a file of its header alone has
  // none to return, and both directions end at once.
  v->ultimo = slots - 1;
  const bool reservados = e.offset_ligado && e.offset_nsu >= 1;
  v->primeiro = reservados ? e.offset_nsu : 1;
  v->corrente = v->direcao == LOG_VARREDURA_TRAS ? v->ultimo : v->primeiro;
  v->slot_lido = -1;
  v->leu_secundario = false;
  v->def = e.def;
  v->tam_protegido = e.tam_protegido;
  v->tam_protegido_secundario = e.tam_protegido_secundario;
  v->faixas = e.faixas;
  return 0;
}

namespace {

constexpr int64_t kSlotsBloco = 256;

// Reads slot `slot` of the scan's primary file, from the block read ahead in
// the scan's direction when it holds it.  A block that cannot be read whole
// (the file changed meanwhile) falls back to the single slot read.
int LeSlotVarredura(VarreduraLog* v, int64_t slot, void* buf) {
  const int tam = v->def.TamanhoPrincipal;
  if (slot < v->bloco_inicio || slot >= v->bloco_inicio + v->bloco_slots) {
    const bool frente = v->direcao == LOG_VARREDURA_FRENTE;
    const int64_t inicio = frente ? slot : std::max<int64_t>(0, slot - kSlotsBloco + 1);
    const int64_t fim = frente ? std::min(slot + kSlotsBloco, v->ultimo + 1) : slot + 1;
    v->bloco_slots = 0;
    if (fim > inicio) {
      v->bloco.resize(static_cast<size_t>((fim - inicio) * tam));
      size_t lidos = 0;
      if (NV_FileReadAt(&v->principal, inicio * tam, v->bloco.data(), v->bloco.size(), &lidos) ==
              NV_OK &&
          lidos == v->bloco.size()) {
        v->bloco_inicio = inicio;
        v->bloco_slots = fim - inicio;
      }
    }
    if (v->bloco_slots == 0) return LeSlot(&v->principal, slot, tam, buf);
  }
  std::memcpy(buf, v->bloco.data() + (slot - v->bloco_inicio) * tam, static_cast<size_t>(tam));
  return 0;
}

}  // namespace

int ProximoLog(VarreduraLog* v, void* principal, void* secundario) {
  if (v == nullptr || principal == nullptr || !v->principal.valido) return 1;
  const bool frente = v->direcao == LOG_VARREDURA_FRENTE;
  if (frente ? v->corrente > v->ultimo : v->corrente < v->primeiro || v->corrente <= 0)
    return LOG_FIM_VARREDURA;
  const DefinicaoLog& d = v->def;
  if (LeSlotVarredura(v, v->corrente, principal) != 0) return 1;
  v->slot_lido = v->corrente;
  v->corrente += frente ? 1 : -1;
  v->leu_secundario = false;
  DesprotegeRegistro(principal, d.PosicaoProtegida, v->tam_protegido);
  if (secundario == nullptr || !v->tem_secundario || !d.FiltroSecundario(principal)) return 0;
  // Cleared first, so that a record whose secondary record cannot be had is
  // never returned beside the secondary record of the one before it.
  std::memset(secundario, 0, static_cast<size_t>(d.TamanhoSecundario));
  const uint32_t indice =
      LeU32(static_cast<const uint8_t*>(principal) + d.PosicaoIndiceSecundario);
  if (indice == 0) return 1;
  if (LeSlot(&v->secundario, indice, d.TamanhoSecundario, secundario) != 0) return 1;
  DesprotegeRegistro(secundario, d.PosicaoProtegidaSecundaria, v->tam_protegido_secundario);
  v->leu_secundario = true;
  return 0;
}

int RegravaCorrenteLog(VarreduraLog* v, const void* principal, const void* secundario) {
  if (v == nullptr || principal == nullptr || !v->principal.valido || v->slot_lido < 0) return 1;
  const DefinicaoLog& d = v->def;
  const bool com_secundario = secundario != nullptr && v->tem_secundario && v->leu_secundario;
  const uint32_t indice =
      LeU32(static_cast<const uint8_t*>(principal) + d.PosicaoIndiceSecundario);
  // Slot 0 is the header of the secondary file: never written as a record.
  if (com_secundario && indice == 0) return 1;
  std::vector<uint8_t> copia_p, copia_s;
  {
    // The scan's own handle takes the file lock for the write, so that the
    // rewrite is serialised with the other handles and processes.
    NV_TravaRegiao lock;
    if (TravaPrimeiroByte(&v->principal, &lock) != 0) return 1;
    if (GravaRegistro(&v->principal, v->slot_lido, d.TamanhoPrincipal, d.PosicaoProtegida,
                      v->tam_protegido, principal, &copia_p) != 0)
      return 1;
    if (com_secundario &&
        GravaRegistro(&v->secundario, indice, d.TamanhoSecundario, d.PosicaoProtegidaSecundaria,
                      v->tam_protegido_secundario, secundario, &copia_s) != 0)
      return 1;
  }
  char nsu[7];
  const bool tem_nsu = NsuDoSlot(v->slot_lido, DiaDe(v->data), nsu) == 0;
  EnviaEspelho(ESPELHO_REGRAVACAO, d.RedeLog, v->data, v->empresa, tem_nsu ? nsu : nullptr,
               copia_p.data(), d.TamanhoPrincipal, com_secundario ? copia_s.data() : nullptr,
               d.TamanhoSecundario, v->faixas);
  return 0;
}

int FechaVarreduraLog(VarreduraLog* v) {
  if (v == nullptr) return NV_EINVAL;
  if (v->principal.valido) NV_FileClose(&v->principal);
  if (v->secundario.valido) NV_FileClose(&v->secundario);
  v->tem_secundario = false;
  v->bloco.clear();
  v->bloco_slots = 0;
  v->slot_lido = -1;
  v->leu_secundario = false;
  return 0;
}
