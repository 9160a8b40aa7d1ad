// The amount in words for the sale receipt: cents as decimal digits to the
// Portuguese text in Reais, "(Cento e Vinte e Tres Reais e Quarenta e Cinco
// Centavos)".  The amount is cut into the cents and up to four groups of
// three digits (reais, thousands, millions, billions); each group gives its
// words and then a suffix that depends on the groups below it.
#include "services/valor.h"

#include <cstring>

namespace {

// Every word begins with a space; the first one becomes "(" at the end.
constexpr const char* kCentenas[10] = {"", " Cento", " Duzentos", " Trezentos", " Quatrocentos",
                                       " Quinhentos", " Seiscentos", " Setecentos", " Oitocentos",
                                       " Novecentos"};
constexpr const char* kDezenas[10] = {"", " Dez", " Vinte", " Trinta", " Quarenta",
                                      " Cinquenta", " Sessenta", " Setenta", " Oitenta", " Noventa"};
constexpr const char* kDezMais[10] = {"", " Onze", " Doze", " Treze", " Quatorze",
                                      " Quinze", " Dezeseis", " Dezesete", " Dezoito", " Dezenove"};
constexpr const char* kUnidades[10] = {" Zero", " Um", " Dois", " Tres", " Quatro",
                                       " Cinco", " Seis", " Sete", " Oito", " Nove"};

constexpr const char* kZero = " Zero centavos de Real";

constexpr int kGrupos = 5;  // cents, reais, thousands, millions, billions

// The text being built, bounded by its buffer (the longest amount needs
// well under kTamMaxExtenso characters).
struct Texto {
  char buf[kTamMaxExtenso + 1];
  size_t n = 0;
  void Anexa(const char* s) {
    for (; *s != '\0' && n < kTamMaxExtenso; ++s) buf[n++] = *s;
    buf[n] = '\0';
  }
};

void PalavrasDoGrupo(int v, Texto* t) {
  if (v == 0) return;
  if (v > 100) {
    t->Anexa(kCentenas[v / 100]);
    if (v % 100 != 0) t->Anexa(" e");
  } else if (v == 100) {
    t->Anexa(" Cem ");
  }
  const int d = (v % 100) / 10;
  const int u = v % 10;
  if (d > 1 || (d == 1 && u == 0)) {
    t->Anexa(kDezenas[d]);
    if (u != 0) t->Anexa(" e");
  } else if (d == 1) {
    t->Anexa(kDezMais[u]);
    return;
  }
  if (u != 0) t->Anexa(kUnidades[u]);
}

// After the name of a thousands, millions or billions group: a comma when a
// lower group follows, else the currency word and " e" before the cents.
void FechaGrupoAlto(bool inferior, bool centavos, const char* moeda, Texto* t) {
  if (inferior) {
    t->Anexa(",");
    return;
  }
  t->Anexa(moeda);
  if (centavos) t->Anexa(" e");
}

// Suffix of group k (0 cents .. 4 billions), written only for a non-zero group.
void SufixoDoGrupo(int k, const int g[kGrupos], Texto* t) {
  bool inferior = false;  // some group 1 .. k-1 is not zero
  for (int i = 1; i < k; ++i) inferior = inferior || g[i] != 0;
  const bool superior = g[2] != 0 || g[3] != 0 || g[4] != 0;
  const bool centavos = g[0] != 0;
  switch (k) {
    case 0:
      t->Anexa(g[0] == 1 ? " Centavo" : " Centavos");
      if (g[1] == 0 && !superior) t->Anexa(" de Real");
      break;
    case 1:
      t->Anexa(g[1] > 1 || superior ? " Reais" : " Real");
      if (centavos) t->Anexa(" e");
      break;
    case 2:
      t->Anexa(" Mil");
      FechaGrupoAlto(inferior, centavos, " Reais", t);
      break;
    case 3:
      t->Anexa(g[3] < 2 ? " Milhao" : " Milhoes");
      FechaGrupoAlto(inferior, centavos, " de Reais", t);
      break;
    default:
      t->Anexa(g[4] < 2 ? " Bilhao" : " Bilhoes");
      FechaGrupoAlto(inferior, centavos, " de Reais", t);
      break;
  }
}

}  // namespace

void ValorPorExtenso(const char* digitos, char* saida, size_t room) {
  if (saida == nullptr || room == 0) return;
  saida[0] = '\0';
  if (digitos == nullptr) digitos = "";
  const size_t total = std::strlen(digitos);
  if (std::strspn(digitos, "0123456789") != total) return;
  while (*digitos == '0') ++digitos;
  const size_t n = std::strlen(digitos);
  if (n > kMaxDigitosExtenso) return;

  // Groups from the right: 2 digits of cents, then 3 digits each.
  int g[kGrupos] = {0, 0, 0, 0, 0};
  size_t fim = n;
  for (int k = 0; k < kGrupos && fim > 0; ++k) {
    const size_t largura = k == 0 ? 2 : 3;
    const size_t ini = fim > largura ? fim - largura : 0;
    for (size_t i = ini; i < fim; ++i) g[k] = g[k] * 10 + (digitos[i] - '0');
    fim = ini;
  }

  Texto t;
  t.buf[0] = '\0';
  if (n == 0) {
    t.Anexa(kZero);
  } else {
    for (int k = kGrupos - 1; k >= 0; --k) {
      if (g[k] == 0) continue;
      PalavrasDoGrupo(g[k], &t);
      SufixoDoGrupo(k, g, &t);
    }
  }
  t.buf[0] = '(';
  t.Anexa(")");
  if (t.n + 1 > room) return;
  std::memcpy(saida, t.buf, t.n + 1);
}
