// The amount in figures: cents as decimal digits to the Brazilian money text
// "1.234.567,89", and the check of amount texts given by operators.
#include "services/valor.h"

#include <cstring>
#include <string>

namespace {

bool SoDigitos(const char* s) {
  for (; *s != '\0'; ++s)
    if (*s < '0' || *s > '9') return false;
  return true;
}

void Entrega(const std::string& texto, char* saida, size_t room) {
  if (saida == nullptr || room == 0) return;
  if (texto.size() + 1 > room) {
    saida[0] = '\0';
    return;
  }
  std::memcpy(saida, texto.c_str(), texto.size() + 1);
}

}  // namespace

void FormataValor(const char* digitos, char* saida, size_t room) {
  if (digitos == nullptr) digitos = "";
  if (!SoDigitos(digitos)) {
    Entrega("", saida, room);
    return;
  }
  while (*digitos == '0') ++digitos;
  std::string s = digitos;
  // At least one integer digit and the two of the cents.
  if (s.size() < 3) s.insert(0, 3 - s.size(), '0');
  const size_t inteiros = s.size() - 2;
  std::string r;
  r.reserve(s.size() + s.size() / 3 + 2);
  for (size_t i = 0; i < inteiros; ++i) {
    if (i > 0 && (inteiros - i) % 3 == 0) r += '.';
    r += s[i];
  }
  r += ',';
  r.append(s, inteiros, 2);
  Entrega(r, saida, room);
}

const char* MotivoValorInvalido(const char* digitos) {
  if (digitos == nullptr || *digitos == '\0') return "the amount is empty";
  if (!SoDigitos(digitos)) return "the amount must be decimal digits (cents)";
  if (std::strlen(digitos) > kMaxDigitosExtenso) return "the amount has more than 14 digits";
  return nullptr;
}
