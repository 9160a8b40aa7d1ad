// Little-endian integers inside the audit and mirror records: the records
// are byte arrays, so every binary field is read and written here byte by
// byte, whatever the host's own byte order.  Also the two-digit fields of
// their dates and times.
#pragma once
#include <cstdint>

inline uint16_t LeLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline void GravaLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline uint32_t LeLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void GravaLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// A date or time field kept to 0..99, so "%02d" always writes two digits.
inline int DoisDigitos(int v) { return static_cast<int>(static_cast<unsigned>(v) % 100u); }
