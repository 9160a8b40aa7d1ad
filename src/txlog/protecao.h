// The scrambling of a record's protected area (the card number of the
// primary record).  An area that starts with a decimal digit is stored with
// its first byte turned into a letter 'a' to 'j', its bytes chained through
// an XOR and add step, and pairs of bytes exchanged; an empty area (first
// byte not a digit) is stored as it is.
#pragma once
#include <cstddef>
#include <cstdint>

// In place over n bytes.
void EmbaralhaArea(uint8_t* b, size_t n);
void DesembaralhaArea(uint8_t* b, size_t n);

// The card number of a stored primary area (scrambled, `n` bytes) for
// people: unscrambled in a copy that is wiped at once and shown as its first
// six and last four digits with asterisks between.  Only a card number of
// 13 digits or more is shown so: a shorter one would keep too few digits
// hidden, and it and one that is not all digits are all asterisks.  `saida`
// gets at most n characters and a zero (room bytes).
void CartaoMascarado(const uint8_t* guardado, size_t n, char* saida, size_t room);
