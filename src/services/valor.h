// Money texts: the amount in figures ("1.234,56") and in words.  Amounts are
// given in cents as a text of decimal digits (leading zeros allowed; empty
// means zero).  A text with any other character is no amount: the result is
// then the empty text, as it is when the result does not fit in room, so a
// receipt never shows a wrong value.
#pragma once
#include <cstddef>

// Amount in cents as decimal digits -> Brazilian money text.
void FormataValor(const char* digitos, char* saida, size_t room);
// Amount in cents as decimal digits -> "(Um Real e Um Centavo)".  The text is
// at most kTamMaxExtenso characters.  Amounts of more than
// kMaxDigitosExtenso significant digits have no words (empty text).
inline constexpr size_t kTamMaxExtenso = 400;
inline constexpr size_t kMaxDigitosExtenso = 14;
void ValorPorExtenso(const char* digitos, char* saida, size_t room);

// Why a text given by an operator is not an amount of 1 to 14 digits, or
// null when it is one.
const char* MotivoValorInvalido(const char* digitos);
