// Name comparisons without regard to ASCII case: equality for the path
// layer, and the wildcard match of directory listings and of the text
// utilities (there with or without case).  The match is iterative with one
// back-tracking point, so it runs in time proportional to pattern x name at
// worst and never recurses.
#include "nvpr/nv_nomes.h"

#include <cstring>

namespace {

char Minuscula(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool NV_NomesIguais(const char* a, const char* b) {
  for (;; a++, b++) {
    if (Minuscula(*a) != Minuscula(*b)) return false;
    if (*a == '\0') return true;
  }
}

bool NV_CasaCuringa(const char* padrao, const char* texto, bool com_caso) {
  auto iguais = [com_caso](char p, char t) { return com_caso ? p == t : Minuscula(p) == Minuscula(t); };
  const char* p = padrao;
  const char* n = texto;
  const char* estrela = nullptr;   // last "*" seen in the pattern
  const char* retoma = nullptr;    // where the text resumes after it
  while (*n != '\0') {
    if (*p == '*') {
      estrela = p++;
      retoma = n;
    } else if (*p != '\0' && (*p == '?' || iguais(*p, *n))) {
      p++;
      n++;
    } else if (estrela != nullptr) {
      p = estrela + 1;
      n = ++retoma;
    } else {
      return false;
    }
  }
  while (*p == '*') p++;
  return *p == '\0';
}

bool NV_NomeCasa(const char* padrao, const char* nome) {
  if (std::strcmp(padrao, "*.*") == 0) return true;
  return NV_CasaCuringa(padrao, nome, false);
}
