// Byte helpers of the audit and mirror records: the module's little-endian
// pair, and the two-digit fields of their dates and times.
#pragma once
#include <cstdint>

#include "services/bytes_le.h"   // LeU16, GravaU16, LeU32, GravaU32


// A date or time field kept to 0..99, so "%02d" always writes two digits.
inline int DoisDigitos(int v) { return static_cast<int>(static_cast<unsigned>(v) % 100u); }
