// CRC-16 with polynomial 0x1021, most significant bit first, no final
// complement (the XMODEM variant).  The link key table is filled with it.
#pragma once
#include <cstddef>
#include <cstdint>

// Continues the CRC `crc` over n bytes; start with 0 for a fresh CRC.
uint16_t Crc16Xmodem(uint16_t crc, const uint8_t* dados, size_t n);
