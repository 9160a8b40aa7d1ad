// Text and number routines whose exact rules the message formats rely on:
// decimal and fixed-width conversions, integer to text in any base, trimming,
// bounded copy, case-insensitive compare, wildcard match, upper case and
// hexadecimal text.  Plain ASCII; no locale is consulted.
#include "services/texto.h"

#include <climits>
#include <cstring>

#include "nvpr/nv_error.h"
#include "nvpr/nv_nomes.h"

namespace {

bool EhDigito(char c) { return c >= '0' && c <= '9'; }

char Minuscula(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Parses [spaces/tabs][sign]digits from texto, looking at no more than
// `limite` characters and stopping at a NUL.  Saturates instead of
// overflowing.
long long ConverteDecimal(const char* texto, size_t limite) {
  if (texto == nullptr) return 0;
  size_t i = 0;
  while (i < limite && (texto[i] == ' ' || texto[i] == '\t')) ++i;
  bool negativo = false;
  if (i < limite && (texto[i] == '+' || texto[i] == '-')) {
    negativo = texto[i] == '-';
    ++i;
  }
  // The magnitude is accumulated as unsigned so LLONG_MIN is reachable.
  const unsigned long long teto =
      negativo ? static_cast<unsigned long long>(LLONG_MAX) + 1ULL : static_cast<unsigned long long>(LLONG_MAX);
  unsigned long long v = 0;
  bool saturado = false;
  for (; i < limite && EhDigito(texto[i]); ++i) {
    unsigned d = static_cast<unsigned>(texto[i] - '0');
    if (saturado || v > (teto - d) / 10) {
      saturado = true;
      continue;
    }
    v = v * 10 + d;
  }
  if (saturado) v = teto;
  if (!negativo) return static_cast<long long>(v);
  if (v == static_cast<unsigned long long>(LLONG_MAX) + 1ULL) return LLONG_MIN;
  return -static_cast<long long>(v);
}

int ValorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

long long TextoParaInt(const char* texto) { return ConverteDecimal(texto, SIZE_MAX); }

long long TextoParaIntFixo(const char* texto, int largura) {
  if (largura <= 0) return 0;
  return ConverteDecimal(texto, static_cast<size_t>(largura));
}

int IntParaTexto(long long valor, char* saida, size_t room, int base) {
  if (saida == nullptr || room == 0 || base < 2 || base > 36) return NV_EINVAL;
  const bool negativo = valor < 0;
  if (negativo && room < 2) {
    saida[0] = '\0';
    return NV_EINVAL;
  }
  unsigned long long mag = negativo ? 0ULL - static_cast<unsigned long long>(valor)
                                    : static_cast<unsigned long long>(valor);
  static constexpr char kDigitos[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  char tmp[72];  // 64 binary digits at most
  size_t n = 0;
  do {
    tmp[n++] = kDigitos[mag % static_cast<unsigned>(base)];
    mag /= static_cast<unsigned>(base);
  } while (mag != 0);
  const size_t total = n + (negativo ? 1 : 0);
  if (total + 1 > room) {
    saida[0] = '\0';
    return NV_ERANGE;
  }
  size_t j = 0;
  if (negativo) saida[j++] = '-';
  while (n > 0) saida[j++] = tmp[--n];
  saida[j] = '\0';
  return NV_OK;
}

void RemoveZerosEsquerda(char* digitos) {
  if (digitos == nullptr) return;
  size_t i = 0;
  while (digitos[i] == '0') ++i;
  if (i > 0) std::memmove(digitos, digitos + i, std::strlen(digitos + i) + 1);
}

void Apara(char* texto) {
  if (texto == nullptr) return;
  size_t ini = 0;
  while (texto[ini] == ' ') ++ini;
  size_t fim = std::strlen(texto);
  while (fim > ini && texto[fim - 1] == ' ') --fim;
  std::memmove(texto, texto + ini, fim - ini);
  texto[fim - ini] = '\0';
}

int CopiaLimitada(char* destino, size_t room, const char* origem) {
  if (destino == nullptr || room == 0) return NV_EINVAL;
  if (origem == nullptr) origem = "";
  size_t n = 0;
  while (n + 1 < room && origem[n] != '\0') {
    destino[n] = origem[n];
    ++n;
  }
  destino[n] = '\0';
  return origem[n] == '\0' ? NV_OK : NV_ERANGE;
}

int ComparaSemCasoN(const char* a, const char* b, size_t n) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(Minuscula(a[i]));
    unsigned char cb = static_cast<unsigned char>(Minuscula(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == '\0') return 0;
  }
  return 0;
}

int ComparaSemCaso(const char* a, const char* b) { return ComparaSemCasoN(a, b, SIZE_MAX); }

bool CasaCuringa(const char* padrao, const char* texto, bool com_caso) {
  if (padrao == nullptr || texto == nullptr) return false;
  return NV_CasaCuringa(padrao, texto, com_caso);
}

void Maiusculas(char* texto) {
  if (texto == nullptr) return;
  for (; *texto != '\0'; ++texto)
    if (*texto >= 'a' && *texto <= 'z') *texto = static_cast<char>(*texto - 'a' + 'A');
}

void BytesParaHex(const void* dados, size_t n, char* saida) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto* p = static_cast<const unsigned char*>(dados);
  for (size_t i = 0; i < n; ++i) {
    saida[2 * i] = kHex[p[i] >> 4];
    saida[2 * i + 1] = kHex[p[i] & 0x0f];
  }
  saida[2 * n] = '\0';
}

int HexParaBytes(const char* hex, size_t n_hex, void* saida, size_t room) {
  if (hex == nullptr || (n_hex % 2) != 0) return NV_EINVAL;
  if (n_hex / 2 > room) return NV_ERANGE;
  // Checked in full first, so a bad digit leaves the output untouched.
  for (size_t i = 0; i < n_hex; ++i)
    if (ValorHex(hex[i]) < 0) return NV_EINVAL;
  auto* p = static_cast<unsigned char*>(saida);
  for (size_t i = 0; i < n_hex / 2; ++i)
    p[i] = static_cast<unsigned char>((ValorHex(hex[2 * i]) << 4) | ValorHex(hex[2 * i + 1]));
  return NV_OK;
}
