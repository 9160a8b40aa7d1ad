// LeLog: reading the record of an NSU from the file of its date, with its
// secondary record when the definition's filter says it has one.
#include <cstring>

#include "nvpr/nv_error.h"
#include "txlog/operacoes_log.h"
#include "txlog/slots_log.h"

int LeLog(const char* empresa, void* principal, void* secundario, const char* nsu,
          const char* mmdd) {
  NV_Trava trava(&g_mutex_log);
  const EstadoLog& e = g_log;
  if (!e.definido) return LOG_LE_SEM_DEFINICAO;
  if (principal == nullptr) return NV_EINVAL;
  MomentoLog m;
  const int64_t agora = MomentoAtual(&m);
  int data = 0;
  int64_t slot = 0;
  ArquivoAbertoLog* a = nullptr;
  int rc = LocalizaNsu(empresa, nsu, mmdd, m.local, agora, &data, &a, &slot);
  if (rc != 0) return rc;
  NV_TravaRegiao lock;
  if ((rc = TravaPrimeiroByte(&a->principal, &lock)) != 0) return rc;
  if ((rc = LeSlot(&a->principal, slot, e.def.TamanhoPrincipal, principal)) != 0) return rc;
  DesprotegeRegistro(principal, e.def.PosicaoProtegida, e.tam_protegido);
  if (secundario == nullptr || !a->tem_secundario || !e.def.FiltroSecundario(principal)) return 0;
  // A record that names no secondary slot (slot 0 is the file header) is
  // read with an empty secondary record.
  std::memset(secundario, 0, static_cast<size_t>(e.def.TamanhoSecundario));
  const uint32_t indice =
      LeU32(static_cast<const uint8_t*>(principal) + e.def.PosicaoIndiceSecundario);
  if (indice == 0) return 0;
  if ((rc = LeSlot(&a->secundario, indice, e.def.TamanhoSecundario, secundario)) != 0) return rc;
  DesprotegeRegistro(secundario, e.def.PosicaoProtegidaSecundaria, e.tam_protegido_secundario);
  return 0;
}
