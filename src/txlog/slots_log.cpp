// Slots of one log file: locking, counting, padding, reading and writing
// with the retry rules of the log, and the protected-area copies.
#include "txlog/slots_log.h"

#include <algorithm>
#include <cstring>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"
#include "txlog/estado_log.h"
#include "txlog/protecao.h"

namespace {
constexpr size_t kBlocoZeros = 32768;
}

int TravaPrimeiroByte(NV_Arquivo* f, NV_TravaRegiao* trava) {
  int rc = NV_EACCES;
  for (int i = 0; i < g_log.tentativas_trava; i++) {
    if (i > 0) NV_Sleep(g_log.intervalo_trava_ms);
    rc = trava->Trava(f, 0, 1, NV_LOCK_EXCLUSIVO);
    if (rc == NV_OK || rc != NV_EACCES) break;
  }
  return rc;
}

int ContaSlots(NV_Arquivo* f, int tam, int64_t* slots) {
  int64_t tamanho = 0;
  const int rc = NV_FileSize(f, &tamanho);
  if (rc != NV_OK) return rc;
  *slots = tamanho / tam;
  return NV_OK;
}

int EstendeComZeros(NV_Arquivo* f, int64_t tamanho) {
  int64_t atual = 0;
  int rc = NV_FileSize(f, &atual);
  if (rc != NV_OK) return rc;
  static const uint8_t kZeros[kBlocoZeros] = {};
  while (atual < tamanho) {
    const size_t n = static_cast<size_t>(std::min<int64_t>(tamanho - atual, kBlocoZeros));
    size_t escritos = 0;
    rc = NV_FileWriteAt(f, atual, kZeros, n, &escritos);
    if (rc != NV_OK) return rc;
    atual += static_cast<int64_t>(escritos);
  }
  return NV_OK;
}

int ProximoSlotLivre(NV_Arquivo* f, int tam, int64_t* slot) {
  int64_t tamanho = 0;
  int rc = NV_FileSize(f, &tamanho);
  if (rc != NV_OK) return rc;
  const int64_t slots = (tamanho + tam - 1) / tam;
  if (slots * tam != tamanho && (rc = EstendeComZeros(f, slots * tam)) != NV_OK) return rc;
  *slot = slots;
  return NV_OK;
}

int LeSlot(NV_Arquivo* f, int64_t slot, int tam, void* buf) {
  std::memset(buf, 0, static_cast<size_t>(tam));
  int64_t tamanho = 0;
  int rc = NV_FileSize(f, &tamanho);
  if (rc != NV_OK) return rc;
  const int64_t pos = slot * tam;
  if (slot < 0 || pos >= tamanho) return 1;
  // A slot that stays short after every attempt (a record cut off at the
  // end of the file, or a file shortened meanwhile) is reported as NV_EIO:
  // the file layer saw no error, but there is no whole record to hand out.
  size_t total = 0;
  for (int i = 0; i < g_log.tentativas_leitura; i++) {
    if (i > 0) NV_Sleep(g_log.intervalo_leitura_ms);
    size_t lidos = 0;
    rc = NV_FileReadAt(f, pos + static_cast<int64_t>(total), static_cast<uint8_t*>(buf) + total,
                       static_cast<size_t>(tam) - total, &lidos);
    total += lidos;
    if (rc != NV_OK) break;
    if (total == static_cast<size_t>(tam)) return NV_OK;
  }
  std::memset(buf, 0, static_cast<size_t>(tam));
  return rc != NV_OK ? rc : NV_EIO;
}

int GravaSlot(NV_Arquivo* f, int64_t slot, int tam, const void* buf) {
  int rc = NV_EIO;
  for (int falhas = 0; falhas < g_log.tentativas_escrita; falhas++) {
    size_t escritos = 0;
    rc = NV_FileWriteAt(f, slot * tam, buf, static_cast<size_t>(tam), &escritos);
    if (rc == NV_OK && escritos == static_cast<size_t>(tam)) return NV_FileFlush(f);
  }
  return rc != NV_OK ? rc : NV_EIO;
}

void CopiaProtegida(const void* registro, int tam, int pos, int tam_prot, uint8_t* copia) {
  std::memcpy(copia, registro, static_cast<size_t>(tam));
  if (tam_prot > 0) EmbaralhaArea(copia + pos, static_cast<size_t>(tam_prot));
}

int GravaRegistro(NV_Arquivo* f, int64_t slot, int tam, int pos_prot, int tam_prot,
                  const void* registro, std::vector<uint8_t>* guardado) {
  guardado->resize(static_cast<size_t>(tam));
  CopiaProtegida(registro, tam, pos_prot, tam_prot, guardado->data());
  return GravaSlot(f, slot, tam, guardado->data());
}

void DesprotegeRegistro(void* registro, int pos, int tam_prot) {
  if (tam_prot > 0) DesembaralhaArea(static_cast<uint8_t*>(registro) + pos, static_cast<size_t>(tam_prot));
}
