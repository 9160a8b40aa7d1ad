// RegravaLog: rewriting the record of an NSU in its own slot, and its
// secondary record in the slot the primary names (or a new one).
#include <cstdio>
#include <cstring>

#include "nvpr/nv_error.h"
#include "txlog/arquivos_log.h"
#include "txlog/operacoes_log.h"
#include "txlog/slots_log.h"

namespace {

// The secondary slot of a rewrite: the one the primary names, or the next
// free slot when it names none.  A slot number past the end of the file
// (a damaged record) also takes the next free slot rather than writing far
// beyond the file's end.
int SlotSecundario(NV_Arquivo* f, int tam_s, uint32_t indice, int64_t* slot) {
  int64_t livre = 0;
  const int rc = ProximoSlotLivre(f, tam_s, &livre);
  if (rc != 0) return rc;
  *slot = indice == 0 || indice > livre ? livre : indice;
  return 0;
}

int Regrava(const char* empresa, void* principal, const void* secundario, const char* nsu,
            const char* mmdd, RegistrosGravados* r) {
  NV_Trava trava(&g_mutex_log);
  const EstadoLog& e = g_log;
  if (!e.definido) return LOG_REGRAVA_SEM_DEFINICAO;
  if (principal == nullptr) return NV_EINVAL;
  MomentoLog m;
  const int64_t agora = MomentoAtual(&m);
  ArquivoAbertoLog* a = nullptr;
  int64_t slot = 0, slot_s = 0;
  int rc = LocalizaNsu(empresa, nsu, mmdd, m.local, agora, &r->data, &a, &slot);
  if (rc != 0) return rc;
  std::snprintf(r->nsu, sizeof r->nsu, "%.6s", nsu);
  NV_TravaRegiao lock;
  if ((rc = TravaPrimeiroByte(&a->principal, &lock)) != 0) return rc;
  // A slot beyond the end: the file is extended with zeros up to it.
  if ((rc = EstendeComZeros(&a->principal, slot * e.def.TamanhoPrincipal)) != 0) return rc;
  r->com_secundario = secundario != nullptr && a->tem_secundario;
  uint8_t* indice = static_cast<uint8_t*>(principal) + e.def.PosicaoIndiceSecundario;
  uint8_t indice_antigo[4];
  std::memcpy(indice_antigo, indice, 4);
  if (r->com_secundario) {
    rc = SlotSecundario(&a->secundario, e.def.TamanhoSecundario, LeU32(indice), &slot_s);
    if (rc != 0) return rc;
    GravaU32(indice, static_cast<uint32_t>(slot_s));
  }
  if ((rc = GravaRegistros(a, slot, principal, slot_s, secundario, r)) != 0)
    std::memcpy(indice, indice_antigo, 4);
  return rc;
}

}  // namespace

int RegravaLog(const char* empresa, void* principal, const void* secundario, const char* nsu,
               const char* mmdd) {
  RegistrosGravados r{};
  const int rc = Regrava(empresa, principal, secundario, nsu, mmdd, &r);
  if (rc != 0) return rc;
  return ConcluiGravacao(ESPELHO_REGRAVACAO, 'G', empresa, principal, secundario, r);
}
