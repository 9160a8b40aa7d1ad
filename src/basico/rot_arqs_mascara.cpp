// Masking of card data in audit records: the caller's masking list and the
// track 2 and track 1 scans.  Every scan stops 14 characters before the end
// of the data, so no mask ever reaches past it, and data too short for a
// track is left as it is.
#include "basico/rot_arqs_mascara.h"

#include <cstring>

namespace {

// The scans look at most 14 characters ahead of the separator and 10 behind.
constexpr size_t kInicioVarredura = 10;
constexpr size_t kFimVarredura = 14;

bool Digito(uint8_t c) { return c >= '0' && c <= '9'; }

bool SeisDigitos(const uint8_t* p) {
  for (int i = 0; i < 6; ++i)
    if (!Digito(p[i])) return false;
  return true;
}

bool SeisDigitosOuEspacos(const uint8_t* p) {
  for (int i = 0; i < 6; ++i)
    if (!Digito(p[i]) && p[i] != ' ') return false;
  return true;
}

}  // namespace

void AplicaMascarasAudit(uint8_t* dados, size_t tam, const MascaraAudit* lista, int num) {
  if (dados == nullptr || lista == nullptr) return;
  for (int i = 0; i < num; ++i) {
    size_t pos = lista[i].pos;
    size_t n = lista[i].tam;
    if (n == 0 || pos >= tam) continue;
    if (n > tam - pos) n = tam - pos;
    std::memset(dados + pos, '*', n);
  }
}

void MascaraTrilha2Audit(uint8_t* dados, size_t tam) {
  if (dados == nullptr || tam <= kInicioVarredura + kFimVarredura) return;
  for (size_t i = kInicioVarredura; i < tam - kFimVarredura; ++i) {
    if (dados[i] != '=' || !SeisDigitos(dados + i - 10)) continue;
    std::memset(dados + i - 10, '*', 6);
    std::memset(dados + i + 8, '*', 6);
    return;
  }
}

void MascaraTrilha1Audit(uint8_t* dados, size_t tam) {
  if (dados == nullptr || tam <= kInicioVarredura + kFimVarredura) return;
  for (size_t i = kInicioVarredura; i < tam - kFimVarredura; ++i) {
    if (dados[i] != '^' || !SeisDigitosOuEspacos(dados + i - 6)) continue;
    std::memset(dados + i - 10, '*', 6);
    const void* fim = std::memchr(dados + i + 1, '^', tam - i - 1);
    if (fim == nullptr) return;
    size_t j = static_cast<size_t>(static_cast<const uint8_t*>(fim) - dados);
    size_t c = j - i - 1;
    size_t inicio = j - (c / 4) * 3;
    size_t n = c / 2;
    // A name of two or three characters would reach the separator itself;
    // the separator is kept so the track stays readable.
    if (n > j - inicio) n = j - inicio;
    std::memset(dados + inicio, 'n', n);
    return;
  }
}

bool TipoAuditComTrilhas(uint8_t tipo) { return tipo == 50 || tipo == 51 || tipo == 52; }
