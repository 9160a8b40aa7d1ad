// The console report of a message consistency error, with the card data of
// the fields that carry it masked.
#pragma once
#include <cstddef>

// "Erro Consistencia: <texto>\n", then each of the n bytes as "%02x  ",
// then "\n", on standard output, which is flushed.
void ErroConsistencia(const char* texto, size_t n, const void* bytes);

// The same for a value refused for ISO 8583 field `campo`.  The console may
// be captured to a file, so the values of the fields that carry card data
// are shown masked, byte for byte as '*' (2a), keeping the count and the
// line: in the card number (fields 2, 35, 36 and 45) every digit but the
// first six and the last four (all of them when it has ten or fewer), in
// the acquirer code of field 32 (the card's first 11 characters) every
// digit after the first six, in the rest of a track everything but its
// separators and end sentinel, and the whole of the PIN block (field 52)
// and of the chip data objects (field 55).
void ErroConsistenciaCampo(const char* texto, int campo, size_t n, const void* bytes);
