// The audit cipher and its key.  Each record's data part is enciphered with
// AES-128 in GCM mode under the key of the audit key file: the 12-byte nonce
// is stored in the record before the ciphertext and the 16-byte tag after
// it, and the record's header (length, time text, kind) is authenticated
// with the data, so a reader detects a change to any byte of a record.
//
// The key file lives under the drive root and must be readable by its owner
// only.  It is text: lines starting with '#' are comments, and the first
// other line holds the key as 32 hexadecimal digits.
#pragma once
#include <cstddef>
#include <cstdint>
#include <mbedtls/gcm.h>

inline constexpr const char* kArquivoChaveAudit = "/kovra/./config/chaves/audit.key";
inline constexpr size_t kTamChaveAudit = 16;
inline constexpr size_t kTamNonceAudit = 12;
inline constexpr size_t kTamTagAudit = 16;

struct ChaveAudit {
  uint8_t bytes[kTamChaveAudit] = {};
  bool carregada = false;
};

// Reads the key file.  0 when read; 2 missing; 13 readable or writable by
// group or others, or not readable; 22 not a key file.  `motivo` (may be
// null) gets a short text for the console.  On failure the key is cleared.
int CarregaChaveAudit(const char* caminho, ChaveAudit* chave, const char** motivo);
// Wipes the key from memory.
void LimpaChaveAudit(ChaveAudit* chave);

// An expanded key, ready for many records.  Frees and wipes itself.
struct CifraAudit {
  mbedtls_gcm_context gcm;
  bool pronta = false;

  CifraAudit();
  ~CifraAudit();
  CifraAudit(const CifraAudit&) = delete;
  CifraAudit& operator=(const CifraAudit&) = delete;
};

// 0, or 22 when the key is not loaded or mbed TLS refuses it.
int DefineCifraAudit(CifraAudit* c, const ChaveAudit* chave);
void LiberaCifraAudit(CifraAudit* c);

// Enciphers n bytes in place, authenticating `aad` with them; writes the tag.
int CifraRegistroAudit(CifraAudit* c, const uint8_t* nonce, const uint8_t* aad, size_t n_aad,
                       uint8_t* dados, size_t n, uint8_t* tag);
// Deciphers n bytes in place: 0 when the tag matches, 1 when the record fails
// its check (the data are then wiped), 22 when the cipher is not ready.
int DecifraRegistroAudit(CifraAudit* c, const uint8_t* nonce, const uint8_t* aad, size_t n_aad,
                         uint8_t* dados, size_t n, const uint8_t* tag);
