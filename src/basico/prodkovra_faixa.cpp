// Range keys and brand-code values of the brand file, and the fixed-count
// digit reading that the card prefix and the multi-brand fields share.
#include "basico/prodkovra_faixa.h"

#include <cstring>

namespace {

constexpr size_t kDigitosFaixa = 9;

// n characters of `texto` padded to 9 digits with `pad`; "?" is the pad too.
bool CompletaLimite(const char* texto, size_t n, char pad, int* valor) {
  int v = 0;
  for (size_t i = 0; i < kDigitosFaixa; ++i) {
    char c = i < n ? texto[i] : pad;
    if (c == '?') c = pad;
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *valor = v;
  return true;
}

}  // namespace

bool InterpretaFaixaBandeira(const char* chave, int* inicio, int* fim) {
  if (chave == nullptr) return false;
  while (*chave == '-') ++chave;
  const char* traco = std::strchr(chave, '-');
  const size_t n_inicio = traco != nullptr ? static_cast<size_t>(traco - chave) : std::strlen(chave);
  if (n_inicio == 0 || n_inicio > kDigitosFaixa) return false;

  const char* fim_txt = traco != nullptr ? traco + 1 : "";
  size_t n_fim = std::strlen(fim_txt);
  if (n_fim == 0 || n_fim > kDigitosFaixa) {
    fim_txt = chave;
    n_fim = n_inicio;
  }
  int a = 0, b = 0;
  if (!CompletaLimite(chave, n_inicio, '0', &a) || !CompletaLimite(fim_txt, n_fim, '9', &b)) return false;
  if (b < a) return false;
  *inicio = a;
  *fim = b;
  return true;
}

bool InterpretaCodigoBandeira(const char* valor, int* codigo) {
  return valor != nullptr && std::strlen(valor) == 5 && DigitosDecimais(valor, 5, codigo);
}

bool DigitosDecimais(const char* texto, size_t n, int* valor) {
  if (texto == nullptr || n == 0 || n > kDigitosFaixa) return false;
  int v = 0;
  for (size_t i = 0; i < n; ++i) {
    if (texto[i] < '0' || texto[i] > '9') return false;
    v = v * 10 + (texto[i] - '0');
  }
  *valor = v;
  return true;
}
