// RegravaLog: rewriting the record of an NSU in its own slot, and its
// secondary record in the slot the primary names (or a new one).
#include <cstring>
#include <vector>

#include "nvpr/nv_error.h"
#include "txlog/arquivos_log.h"
#include "txlog/datas_log.h"
#include "txlog/nsu.h"
#include "txlog/operacoes_log.h"
#include "txlog/slots_log.h"

namespace {

struct Regravado {
  int data;
  bool com_secundario;
  std::vector<uint8_t> principal, secundario;   // as stored
  FaixasEspelho faixas;
  int rede, tam, tam_s;
  bool compara;
};

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
            const char* mmdd, Regravado* r) {
  NV_Trava trava(&g_mutex_log);
  const EstadoLog& e = g_log;
  if (!e.definido) return LOG_REGRAVA_SEM_DEFINICAO;
  if (principal == nullptr) return NV_EINVAL;
  MomentoLog m;
  const int64_t agora = MomentoAtual(&m);
  int rc = DataDaLeitura(nsu, mmdd, m.local, &r->data);
  if (rc != 0) return rc;
  ArquivoAbertoLog* a = nullptr;
  if ((rc = ArquivosDaData(empresa, nullptr, r->data, false, agora, &a)) != 0) return rc;
  if (!NsuDoDia(nsu, DiaDe(r->data))) return LOG_NAO_EXISTE;
  NV_TravaRegiao lock;
  if ((rc = TravaPrimeiroByte(&a->principal, &lock)) != 0) return rc;
  const int tam = e.def.TamanhoPrincipal, tam_s = e.def.TamanhoSecundario;
  int64_t slot = 0, slot_s = 0;
  int dia = 0;
  SlotDoNsu(nsu, &slot, &dia);
  // A slot beyond the end: the file is extended with zeros up to it.
  if ((rc = EstendeComZeros(&a->principal, slot * tam)) != 0) return rc;
  r->com_secundario = secundario != nullptr && a->tem_secundario;
  uint8_t* indice = static_cast<uint8_t*>(principal) + e.def.PosicaoIndiceSecundario;
  uint8_t indice_antigo[4];
  std::memcpy(indice_antigo, indice, 4);
  if (r->com_secundario) {
    if ((rc = SlotSecundario(&a->secundario, tam_s, LeU32(indice), &slot_s)) != 0) return rc;
    GravaU32(indice, static_cast<uint32_t>(slot_s));
  }
  r->principal.resize(static_cast<size_t>(tam));
  CopiaProtegida(principal, tam, e.def.PosicaoProtegida, e.tam_protegido, r->principal.data());
  rc = GravaSlot(&a->principal, slot, tam, r->principal.data());
  if (rc == 0 && r->com_secundario) {
    r->secundario.resize(static_cast<size_t>(tam_s));
    CopiaProtegida(secundario, tam_s, e.def.PosicaoProtegidaSecundaria,
                   e.tam_protegido_secundario, r->secundario.data());
    rc = GravaSlot(&a->secundario, slot_s, tam_s, r->secundario.data());
  }
  if (rc != 0) {
    std::memcpy(indice, indice_antigo, 4);
    return rc;
  }
  r->faixas = e.faixas;
  r->rede = e.def.RedeLog;
  r->tam = tam;
  r->tam_s = tam_s;
  r->compara = e.compara;
  return 0;
}

}  // namespace

int RegravaLog(const char* empresa, void* principal, const void* secundario, const char* nsu,
               const char* mmdd) {
  Regravado r{};
  const int rc = Regrava(empresa, principal, secundario, nsu, mmdd, &r);
  if (rc != 0) return rc;
  EnviaEspelho(ESPELHO_REGRAVACAO, r.rede, r.data, empresa, nsu, r.principal.data(), r.tam,
               r.com_secundario ? r.secundario.data() : nullptr, r.tam_s, r.faixas);
  if (!r.compara) return 0;
  return ComparaGravado('G', empresa, principal, r.com_secundario ? secundario : nullptr, nsu,
                        r.data);
}
