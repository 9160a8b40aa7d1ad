// Link scrambling: every message on the PDV link and on the host link is
// scrambled as a whole before it is written to a queue and unscrambled right
// after it is read, keyed by the 512-byte link key table TabelaChaveLink.
// Host payloads may in addition be obfuscated (comms/ofusca.h).
//
// The table, built once on first use and then only read (from any thread):
//   byte 0        the marker kMarcadorTabelaLink;
//   bytes 1..15   the link secret, when the key file (comms/chave_link.h)
//                 holds a valid one;
//   the rest      each byte the low 8 bits of the CRC-16/XMODEM of all the
//                 bytes before it (from byte 1 when there is no secret).
//
// Scrambling walks the message in 8-byte blocks with a table offset t that
// starts at 0 for every message, advances by 8 and wraps after 504: a block
// at a t that is a multiple of 64 is DES-encrypted (one block, no chaining)
// under the 8 table bytes at t; every other block, and the last 0 to 7
// bytes, is XORed with the table bytes at t.  So the blocks at message
// offsets 0, 64, ..., 448 and again from 512 go through DES.  Unscrambling
// is the same walk with DES decryption.  Both ends of a link must hold the
// same table.
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr size_t kTamTabelaChaveLink = 512;
// Byte 0 of the table: 0x4D, the network code 77.
inline constexpr uint8_t kMarcadorTabelaLink = 0x4D;

// Scrambles / unscrambles n bytes in place.  Null with n == 0 is allowed.
void EmbaralhaLink(uint8_t* dados, size_t n);
void DesembaralhaLink(uint8_t* dados, size_t n);

// The 512-byte table (built if needed).
const uint8_t* TabelaChaveLink();

// Where the table's secret came from: CHAVE_AUSENTE, CHAVE_VALIDA or
// CHAVE_RECUSADA (comms/chave_link.h).  With `motivo` (room bytes) the
// refusal text, or "" otherwise.  Builds the table if needed.
int EstadoChaveLink(char* motivo, size_t room);

// Forgets the table, so that the next use builds it again from the key file
// under the current drive root (tests and tools; never while another thread
// scrambles).
void ReiniciaLink();
