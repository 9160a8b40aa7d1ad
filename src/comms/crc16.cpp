// CRC-16/XMODEM over bytes, one byte at a time through a 256-entry table
// computed at compile time.
#include "comms/crc16.h"

#include <array>

namespace {

constexpr std::array<uint16_t, 256> MontaTabelaCrc() {
  std::array<uint16_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t c = static_cast<uint16_t>(i << 8);
    for (int b = 0; b < 8; ++b)
      c = static_cast<uint16_t>((c & 0x8000u) ? ((c << 1) ^ 0x1021u) : (c << 1));
    t[i] = c;
  }
  return t;
}

constexpr std::array<uint16_t, 256> kTabelaCrc = MontaTabelaCrc();

}  // namespace

uint16_t Crc16Xmodem(uint16_t crc, const uint8_t* dados, size_t n) {
  for (size_t i = 0; i < n; ++i)
    crc = static_cast<uint16_t>((crc << 8) ^ kTabelaCrc[((crc >> 8) ^ dados[i]) & 0xffu]);
  return crc;
}
