// Chip data objects held as hexadecimal text: a BER-TLV list, two digits a
// byte.  A tag is one byte, or two when the low five bits of the first are
// all ones; a length is one byte below 0x80, or 0x81 and one byte, or 0x82
// and two bytes (most significant first), counting value bytes.  The tags
// 61, 6F, 70, 71, 72, 77, 80, A5 and BF0C are templates whose values are
// searched in turn.  Text that is not well formed ends a search with "not
// found"; nothing is ever read past the end of the text.
#pragma once
#include <cstddef>

// Finds the first data object with `tag` (hexadecimal text, either case):
// true with its value's position and length in characters.
bool BuscaObjetoChip(const char* dados, const char* tag, size_t* pos, size_t* tam);

// Removes the first data object with `tag`, shortening the text in place
// and the lengths of the templates that held it.  True when one was removed.
bool RemoveObjetoChip(char* dados, const char* tag);
