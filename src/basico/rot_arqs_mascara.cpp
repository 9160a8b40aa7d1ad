// Masking of card data in audit records: the caller's masking list, the
// track 2 and track 1 scans, and field 2 of host messages.  Every track scan
// stops 14 characters before the end of the data, so no mask ever reaches
// past it, and data too short for a track is left as it is.
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

bool Hexa(uint8_t c) {
  return Digito(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int ValorHexa(uint8_t c) {
  if (Digito(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}

bool Todos(const uint8_t* p, size_t n, bool (*teste)(uint8_t)) {
  for (size_t i = 0; i < n; ++i)
    if (!teste(p[i])) return false;
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

void MascaraCampo2Audit(uint8_t* dados, size_t tam, size_t inicio) {
  constexpr size_t kTipo = 4, kMapa = 16;
  if (dados == nullptr || inicio > tam || tam - inicio < kTipo + kMapa) return;
  uint8_t* m = dados + inicio;
  size_t resto = tam - inicio;
  if (!Todos(m, kTipo, Digito) || !Todos(m + kTipo, kMapa, Hexa)) return;
  const int primeiro = ValorHexa(m[kTipo]);
  if ((primeiro & 0x4) == 0) return;   // no field 2
  size_t pos = kTipo + kMapa;
  if ((primeiro & 0x8) != 0) {         // the secondary bitmap comes first
    if (resto < pos + kMapa || !Todos(m + pos, kMapa, Hexa)) return;
    pos += kMapa;
  }
  if (resto < pos + 2 || !Digito(m[pos]) || !Digito(m[pos + 1])) return;
  const size_t n = static_cast<size_t>((m[pos] - '0') * 10 + (m[pos + 1] - '0'));
  pos += 2;
  if (n == 0 || n > 19 || resto - pos < n || !Todos(m + pos, n, Digito)) return;
  if (n > 10) std::memset(m + pos + 6, '*', n - 10);
  else std::memset(m + pos, '*', n);
}

bool TipoAuditComTrilhas(uint8_t tipo) { return tipo == 50 || tipo == 51 || tipo == 52; }

int InicioMensagemHostAudit(uint8_t tipo) {
  if (tipo == 51) return 0;
  if (tipo == 52) return 9;
  return -1;
}
