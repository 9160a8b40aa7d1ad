// The host payload obfuscation: a keyless transformation that the drivers
// may ask for (bit 7 of the host link envelope's kind byte).  All arithmetic
// is on 8 bits.
//
// OfuscaPayload: chain c = 0; for each byte in order c ^= (p ^ 0x35) + 41
// and p = c.  Then shuffle: with m = (n - 1) / 2 and step p[m] % 5 + 1, swap
// p[j] and p[n - j] for j = 1, 1 + step, ... while j < m.  The shuffle is its
// own inverse and never moves p[m]; a payload of 4 bytes or fewer is only
// chained.  DesofuscaPayload runs the shuffle, then unchains.
#pragma once
#include <cstddef>
#include <cstdint>

void OfuscaPayload(uint8_t* dados, size_t n);
void DesofuscaPayload(uint8_t* dados, size_t n);
