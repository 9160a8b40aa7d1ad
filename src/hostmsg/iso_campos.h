// The field definition table `TabCampos` of the host's ISO 8583 character
// dialect: for each field number 1 to 128 its length form, data type and
// maximum (characters, or bits for type b).
#pragma once
#include <cstddef>
#include <array>
#include <cstdint>

enum TipoDado : uint8_t {
  TIPO_N,     // digits, "+" and "-"; right-aligned, "0"-filled
  TIPO_AN,    // letters, digits, "+", "-" and space; left-aligned, space-filled
  TIPO_ANS,   // anything; left-aligned, space-filled
  TIPO_B,     // raw bytes as upper-case hexadecimal; right-aligned, "0"-filled
  TIPO_Z,     // magnetic-track text; left-aligned, "0"-filled
};

enum FormaTamanho : uint8_t {
  FORMA_FIXA,     // always its full width
  FORMA_LLVAR,    // 2-digit character count, then the characters
  FORMA_LLLVAR,   // 3-digit character count, then the characters
};

struct Campo {
  uint8_t numero;
  FormaTamanho forma;
  TipoDado tipo;
  uint16_t maximo;   // characters; bits for type b
};

inline constexpr int kNumCampos = 128;

// Row n - 1 describes field n.
extern const std::array<Campo, kNumCampos> TabCampos;

// The row of a field number; false for a number outside 1 to 128.
bool BuscaCampo(int numero, Campo* linha);

// Characters a fixed field occupies on the wire: the maximum, or for type b
// (maximum bits / 8) x 2.
inline size_t LarguraFixa(const Campo& c) {
  return c.tipo == TIPO_B ? static_cast<size_t>(c.maximo / 8) * 2 : c.maximo;
}

// Digits of the length prefix: 0 fixed, 2 LLVAR, 3 LLLVAR.
inline size_t DigitosPrefixo(const Campo& c) {
  return c.forma == FORMA_LLVAR ? 2 : c.forma == FORMA_LLLVAR ? 3 : 0;
}

// The most characters a packed value may have: the maximum, but never more
// than its length prefix can count (field 54 is an LLVAR of up to 120, and
// two digits cannot say 100 or more).
inline size_t MaximoEnvio(const Campo& c) {
  size_t prefixo = c.forma == FORMA_LLVAR ? 99 : c.forma == FORMA_LLLVAR ? 999 : c.maximo;
  return c.maximo < prefixo ? c.maximo : prefixo;
}
