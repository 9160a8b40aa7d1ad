// The audit record as it lies in an audit file:
//
//   0   2  length of the rest of the record, 16-bit little-endian
//   2   8  time of the record, "hh:mm:ss" (local time)
//  10   1  kind byte
//  11  12  nonce of the record's cipher
//  23   n  the data (masked, then the "(file, line)" text of kind 0),
//          enciphered
//  23+n 16 the cipher's tag
//
// So the length field reads 37 + n and a reader walks the file by it.  The
// first 11 bytes are authenticated with the data.
#pragma once
#include <cstddef>
#include <cstdint>
#include "basico/rot_arqs_cifra.h"

struct CabecalhoAudit {
  uint8_t Tamanho[2];
  char Hora[8];
  uint8_t Tipo;
  uint8_t Nonce[kTamNonceAudit];
};
static_assert(sizeof(CabecalhoAudit) == 23);
static_assert(offsetof(CabecalhoAudit, Tamanho) == 0);
static_assert(offsetof(CabecalhoAudit, Hora) == 2);
static_assert(offsetof(CabecalhoAudit, Tipo) == 10);
static_assert(offsetof(CabecalhoAudit, Nonce) == 11);

// The authenticated header: length, time text and kind.
inline constexpr size_t kTamAadAudit = offsetof(CabecalhoAudit, Nonce);
// Bytes of a record around its data.
inline constexpr size_t kSobraRegistroAudit = sizeof(CabecalhoAudit) + kTamTagAudit;
// The largest data part (with the source text) that the length field holds.
inline constexpr size_t kMaxDadosAudit = 0xFFFF + 2 - kSobraRegistroAudit;
// The source text of kind 0, "(%s, %d)", at most 278 characters.
inline constexpr size_t kMaxTextoFonteAudit = 278;
