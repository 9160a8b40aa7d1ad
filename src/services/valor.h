// Money texts: the amount in figures ("1.234,56") and in words.
#pragma once
#include <cstddef>

// Amount in cents as decimal digits -> Brazilian money text.
void FormataValor(const char* digitos, char* saida, size_t room);
// Amount in cents as decimal digits -> "(Um Real e Um Centavo)".  The text is
// at most kTamMaxExtenso characters.
inline constexpr size_t kTamMaxExtenso = 400;
void ValorPorExtenso(const char* digitos, char* saida, size_t room);
