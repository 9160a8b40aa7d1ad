// GravaLog: appending a record to today's file under the file lock, handing
// out its NSU, the NSU warnings near the end of a day's numbers, and the
// day change that closes yesterday's files.
#include <cstring>

#include "nvpr/nv_error.h"
#include "services/trace.h"
#include "txlog/arquivos_log.h"
#include "txlog/datas_log.h"
#include "txlog/nsu.h"
#include "txlog/operacoes_log.h"
#include "txlog/slots_log.h"

namespace {

// On the first call after the day of month changed, from 01:00 on, closes
// every file of the remembered date or earlier.
void TrocaDeDia(const NV_DataHora& agora) {
  EstadoLog& e = g_log;
  const int hoje = DataDe(agora);
  if (e.data_lembrada == 0) {
    e.data_lembrada = hoje;
    return;
  }
  if (DiaDe(e.data_lembrada) == agora.dia || agora.hora < 1) return;
  FechaArquivosAte(e.data_lembrada);
  e.data_lembrada = hoje;
}

// At most one warning an hour for each open file once the emergency area
// or the end of the day's numbers is near.
void AvisoNsu(ArquivoAbertoLog* a, int64_t slot, const char* empresa, int64_t agora) {
  if (slot <= 27999 || agora - a->ultimo_aviso <= 3600) return;
  const bool por_empresa = g_log.tipo >= 3;
  char emp[9] = {};
  if (empresa != nullptr) std::strncpy(emp, empresa, 8);
  if (slot < kPrimeiroSlotEmergencia) {
    const int restam = static_cast<int>(kPrimeiroSlotEmergencia - slot);
    if (por_empresa)
      EscreveMensagemF("WARNING: Restam apenas %d NSUs no arquivo da empresa %.8s para inicio do "
                       "uso da area de emergencia", restam, emp);
    else
      EscreveMensagemF("WARNING: Restam apenas %d NSUs no arquivo unico a TODAS as empresas para "
                       "inicio do uso da area de emergencia", restam);
  } else {
    const int restam = slot < kSlotsComNsu ? static_cast<int>(kSlotsComNsu - slot) : 0;
    if (por_empresa)
      EscreveMensagemF("WARNING: Restam %d NSUs no arquivo da empresa %.8s ate o esgotamento "
                       "COMPLETO", restam, emp);
    else
      EscreveMensagemF("WARNING: Restam %d NSUs no arquivo unico a TODAS as empresas ate o "
                       "esgotamento COMPLETO", restam);
  }
  a->ultimo_aviso = agora;
}

// Steps under the mutex and the file lock.
int Anexa(const char* empresa, void* principal, const void* secundario, const SaidaLog* saidas,
          RegistrosGravados* g) {
  NV_Trava trava(&g_mutex_log);
  EstadoLog& e = g_log;
  if (!e.definido) return LOG_GRAVA_SEM_DEFINICAO;
  if (principal == nullptr) return NV_EINVAL;
  MomentoLog m;
  const int64_t agora = MomentoAtual(&m);
  TrocaDeDia(m.local);
  g->data = DataDe(m.local);
  ArquivoAbertoLog* a = nullptr;
  int rc = ArquivosDaData(empresa, nullptr, g->data, true, agora, &a);
  if (rc != 0) return rc;
  NV_TravaRegiao lock;
  if ((rc = TravaPrimeiroByte(&a->principal, &lock)) != 0) return rc;
  int64_t slot = 0, slot_s = 0;
  if ((rc = ProximoSlotLivre(&a->principal, e.def.TamanhoPrincipal, &slot)) != 0) return rc;
  AvisoNsu(a, slot, empresa, agora);
  if (NsuDoSlot(slot, m.local.dia, g->nsu) != 0) return LOG_SEM_NSU;
  g->com_secundario = secundario != nullptr && a->tem_secundario;
  if (g->com_secundario &&
      (rc = ProximoSlotLivre(&a->secundario, e.def.TamanhoSecundario, &slot_s)) != 0)
    return rc;

  CopiaSaidas guardadas;
  GuardaSaidas(saidas, &guardadas);
  uint8_t* indice = static_cast<uint8_t*>(principal) + e.def.PosicaoIndiceSecundario;
  uint8_t indice_antigo[4];
  std::memcpy(indice_antigo, indice, 4);
  PreencheSaidas(saidas, g->nsu, m);
  GravaU32(indice, static_cast<uint32_t>(slot_s));

  if ((rc = GravaRegistros(a, slot, principal, slot_s, secundario, g)) != 0) {
    // The NSU is not handed out: the caller's buffers are as they were.
    std::memcpy(indice, indice_antigo, 4);
    RestauraSaidas(guardadas);
  }
  return rc;
}

}  // namespace

int GravaLog(const char* empresa, void* principal, const void* secundario,
             const SaidaLog* saidas) {
  RegistrosGravados g{};
  const int rc = Anexa(empresa, principal, secundario, saidas, &g);
  if (rc != 0) return rc;
  return ConcluiGravacao(ESPELHO_NOVO, 'I', empresa, principal, secundario, g);
}
