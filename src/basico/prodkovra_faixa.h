// The grammar of one brand-file entry: the key is a card range ("4-4",
// "45", "5?1", "606282-606282") and the value a 5-digit brand code; and the
// reading of a fixed count of digits that the registry's other texts share.
#pragma once
#include <cstddef>

// The range of a key.  Leading "-" characters are skipped; the start is the
// text up to the next "-" and the end the text after it.  The start (1 to 9
// characters) is padded on the right with "0" to 9 digits, the end with "9";
// an end that is empty or longer than 9 characters is the start again,
// padded with "9".  A "?" stands for the pad digit at its place.  False for
// a malformed key or an end below the start.
bool InterpretaFaixaBandeira(const char* chave, int* inicio, int* fim);

// The brand code of a value: exactly 5 decimal digits.  False otherwise.
bool InterpretaCodigoBandeira(const char* valor, int* codigo);

// The first n characters of `texto` (1 to 9) as a number: false unless all
// n are decimal digits.  Stops at the first character that is not one, so a
// shorter text is never read past its NUL.
bool DigitosDecimais(const char* texto, size_t n, int* valor);
