// ErroConsistencia: the one place that prints a consistency error, and the
// masking of card data in the values it shows.
#include "hostmsg/consistencia.h"

#include <cstdio>

namespace {

// How a field's value is shown: as it is, with its card number masked
// (keeping `claro_inicio` and `claro_fim` digits), or all of it as '*'.
enum TipoMascara { MASCARA_NENHUMA, MASCARA_CARTAO, MASCARA_TUDO };

struct Mascara {
  TipoMascara tipo;
  size_t claro_inicio;
  size_t claro_fim;
};

// Fields whose values carry card data: the card number, the acquirer code
// made of its first 11 digits, the tracks 2, 3 and 1, the PIN block, and
// the chip data objects, which hold the card number (5A) and the track
// (57) as hexadecimal text.
const struct {
  int campo;
  Mascara mascara;
} kCamposSensiveis[] = {
    {2, {MASCARA_CARTAO, 6, 4}},  {32, {MASCARA_CARTAO, 6, 0}}, {35, {MASCARA_CARTAO, 6, 4}},
    {36, {MASCARA_CARTAO, 6, 4}}, {45, {MASCARA_CARTAO, 6, 4}}, {52, {MASCARA_TUDO, 0, 0}},
    {55, {MASCARA_TUDO, 0, 0}},
};

bool Digito(unsigned char c) { return c >= '0' && c <= '9'; }
bool Separador(unsigned char c) { return c == '=' || c == '^'; }
bool EstruturaTrilha(unsigned char c) { return Separador(c) || c == '?'; }

Mascara MascaraDoCampo(int campo) {
  for (const auto& s : kCamposSensiveis)
    if (s.campo == campo) return s.mascara;
  return {MASCARA_NENHUMA, 0, 0};
}

// Where the card number ends (the first separator, or the end) and how many
// digits it has; its sentinel and format code are not digits and show.
struct Cartao {
  size_t fim = 0;
  size_t digitos = 0;
};

Cartao AchaCartao(const unsigned char* b, size_t n) {
  Cartao c;
  while (c.fim < n && !Separador(b[c.fim])) c.digitos += Digito(b[c.fim++]);
  return c;
}

// Whether byte i of the value is shown as '*'.  `k` counts the digits of
// the card number seen before it.
bool Oculto(const Mascara& m, const Cartao& cartao, const unsigned char* b, size_t i, size_t* k) {
  if (m.tipo == MASCARA_TUDO) return true;
  if (m.tipo == MASCARA_NENHUMA) return false;
  if (i >= cartao.fim) return !EstruturaTrilha(b[i]);
  if (!Digito(b[i])) return false;
  const size_t d = (*k)++;
  return cartao.digitos <= m.claro_inicio + m.claro_fim ||
         (d >= m.claro_inicio && d < cartao.digitos - m.claro_fim);
}

void Imprime(const char* texto, size_t n, const unsigned char* b, const Mascara& m) {
  std::printf("Erro Consistencia: %s\n", texto);
  const Cartao cartao = b != nullptr && m.tipo == MASCARA_CARTAO ? AchaCartao(b, n) : Cartao{};
  size_t k = 0;
  for (size_t i = 0; b != nullptr && i < n; ++i)
    std::printf("%02x  ", Oculto(m, cartao, b, i, &k) ? static_cast<unsigned char>('*') : b[i]);
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

void ErroConsistencia(const char* texto, size_t n, const void* bytes) {
  Imprime(texto, n, static_cast<const unsigned char*>(bytes), {MASCARA_NENHUMA, 0, 0});
}

void ErroConsistenciaCampo(const char* texto, int campo, size_t n, const void* bytes) {
  Imprime(texto, n, static_cast<const unsigned char*>(bytes), MascaraDoCampo(campo));
}
