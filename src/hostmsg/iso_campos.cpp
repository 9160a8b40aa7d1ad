// `TabCampos`: the dialect's field table, written as the runs of identical
// rows in which it is documented and expanded at compile time into one row
// per field number.  Where this dialect departs from ISO 8583:1987 the table
// counts (18 ans 4, 28-31 an 9, 53 an LLVAR 6, 61 ans LLLVAR 8, 41-42 ans).
#include "hostmsg/iso_campos.h"

#include <array>

namespace {

struct Faixa {
  int primeiro, ultimo;
  TipoDado tipo;
  FormaTamanho forma;
  uint16_t maximo;
};

constexpr Faixa kFaixas[] = {
    {1, 1, TIPO_B, FORMA_FIXA, 64},
    {2, 2, TIPO_N, FORMA_LLVAR, 19},
    {3, 3, TIPO_N, FORMA_FIXA, 6},
    {4, 6, TIPO_N, FORMA_FIXA, 12},
    {7, 7, TIPO_N, FORMA_FIXA, 10},      // MMDDhhmmss
    {8, 10, TIPO_N, FORMA_FIXA, 8},
    {11, 11, TIPO_N, FORMA_FIXA, 6},
    {12, 12, TIPO_N, FORMA_FIXA, 6},     // hhmmss
    {13, 13, TIPO_N, FORMA_FIXA, 4},     // MMDD
    {14, 14, TIPO_N, FORMA_FIXA, 4},     // YYMM
    {15, 17, TIPO_N, FORMA_FIXA, 4},     // MMDD
    {18, 18, TIPO_ANS, FORMA_FIXA, 4},
    {19, 24, TIPO_N, FORMA_FIXA, 3},
    {25, 26, TIPO_N, FORMA_FIXA, 2},
    {27, 27, TIPO_N, FORMA_FIXA, 1},
    {28, 31, TIPO_AN, FORMA_FIXA, 9},
    {32, 33, TIPO_N, FORMA_LLVAR, 11},
    {34, 34, TIPO_ANS, FORMA_LLVAR, 28},
    {35, 35, TIPO_Z, FORMA_LLVAR, 37},
    {36, 36, TIPO_Z, FORMA_LLLVAR, 104},
    {37, 37, TIPO_AN, FORMA_FIXA, 12},
    {38, 38, TIPO_AN, FORMA_FIXA, 6},
    {39, 39, TIPO_AN, FORMA_FIXA, 2},
    {40, 40, TIPO_AN, FORMA_FIXA, 3},
    {41, 41, TIPO_ANS, FORMA_FIXA, 8},
    {42, 42, TIPO_ANS, FORMA_FIXA, 15},
    {43, 43, TIPO_ANS, FORMA_FIXA, 40},
    {44, 44, TIPO_ANS, FORMA_LLVAR, 25},
    {45, 45, TIPO_ANS, FORMA_LLVAR, 76},
    {46, 48, TIPO_ANS, FORMA_LLLVAR, 999},
    {49, 49, TIPO_N, FORMA_FIXA, 3},
    {50, 50, TIPO_AN, FORMA_FIXA, 3},
    {51, 51, TIPO_N, FORMA_FIXA, 3},
    {52, 52, TIPO_B, FORMA_FIXA, 64},
    {53, 53, TIPO_AN, FORMA_LLVAR, 6},
    {54, 54, TIPO_ANS, FORMA_LLVAR, 120},
    {55, 60, TIPO_ANS, FORMA_LLLVAR, 999},
    {61, 61, TIPO_ANS, FORMA_LLLVAR, 8},
    {62, 63, TIPO_ANS, FORMA_LLLVAR, 999},
    {64, 64, TIPO_B, FORMA_FIXA, 64},
    {65, 65, TIPO_B, FORMA_FIXA, 1},
    {66, 66, TIPO_N, FORMA_FIXA, 1},
    {67, 67, TIPO_N, FORMA_FIXA, 2},
    {68, 70, TIPO_N, FORMA_FIXA, 3},
    {71, 72, TIPO_N, FORMA_FIXA, 4},
    {73, 73, TIPO_N, FORMA_FIXA, 6},
    {74, 81, TIPO_N, FORMA_FIXA, 10},
    {82, 85, TIPO_N, FORMA_FIXA, 12},
    {86, 89, TIPO_N, FORMA_FIXA, 16},
    {90, 90, TIPO_N, FORMA_FIXA, 42},
    {91, 91, TIPO_AN, FORMA_FIXA, 1},
    {92, 92, TIPO_AN, FORMA_FIXA, 2},
    {93, 93, TIPO_AN, FORMA_FIXA, 5},
    {94, 94, TIPO_AN, FORMA_FIXA, 7},
    {95, 95, TIPO_AN, FORMA_FIXA, 42},
    {96, 96, TIPO_B, FORMA_FIXA, 64},
    {97, 97, TIPO_AN, FORMA_FIXA, 17},
    {98, 98, TIPO_ANS, FORMA_FIXA, 25},
    {99, 100, TIPO_N, FORMA_LLVAR, 11},
    {101, 101, TIPO_ANS, FORMA_LLVAR, 17},
    {102, 103, TIPO_ANS, FORMA_LLVAR, 28},
    {104, 104, TIPO_ANS, FORMA_LLLVAR, 100},
    {105, 127, TIPO_ANS, FORMA_LLLVAR, 999},
    {128, 128, TIPO_B, FORMA_FIXA, 64},
};

// The runs must follow each other without gap or overlap from 1 to 128.
constexpr bool FaixasContiguas() {
  int proximo = 1;
  for (const Faixa& f : kFaixas) {
    if (f.primeiro != proximo || f.ultimo < f.primeiro) return false;
    proximo = f.ultimo + 1;
  }
  return proximo == kNumCampos + 1;
}
static_assert(FaixasContiguas());

constexpr std::array<Campo, kNumCampos> Expande() {
  std::array<Campo, kNumCampos> t{};
  for (const Faixa& f : kFaixas)
    for (int n = f.primeiro; n <= f.ultimo; ++n)
      t[n - 1] = Campo{static_cast<uint8_t>(n), f.forma, f.tipo, f.maximo};
  return t;
}

}  // namespace

// Constant-initialised from the runs above.
const std::array<Campo, kNumCampos> TabCampos = Expande();

bool BuscaCampo(int numero, Campo* linha) {
  if (numero < 1 || numero > kNumCampos) return false;
  *linha = TabCampos[numero - 1];
  return true;
}
