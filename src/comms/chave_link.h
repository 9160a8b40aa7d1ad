// The link secret's key file.  The switch and this module share a 15-byte
// secret that goes into bytes 1 to 15 of the link key table.  It lives in
// the file kArquivoChaveLink under the drive root, a text file of
// "name=value" lines (blank lines and lines starting with "#" or ";" are
// ignored):
//
//     segredo=<30 hexadecimal digits: the 15 secret bytes>
//     md5=<32 hexadecimal digits: MD5 of those 15 bytes, the check digest>
//     uso=teste          (optional: marks a test key; "producao" otherwise)
//
// The file is refused, and the table built without a secret, unless it is a
// regular file owned by the process's user with no permission bits for group
// or others (chmod 600), holds exactly those lines, and the digest matches.
// A missing file is not an error: the link then runs without a secret.
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr const char* kArquivoChaveLink = "/kovra/config/chaves/link.key";
inline constexpr size_t kTamSegredoLink = 15;
// Largest key file accepted, in bytes.
inline constexpr size_t kTamMaxArquivoChave = 4096;

enum EstadoChave : int {
  CHAVE_AUSENTE = 0,    // no key file
  CHAVE_VALIDA = 1,     // the secret is in `segredo`
  CHAVE_RECUSADA = 2,   // the file is there but unusable; `motivo` says why
};

struct ChaveLinkLida {
  int estado = CHAVE_AUSENTE;
  bool teste = false;                     // the file says "uso=teste"
  uint8_t segredo[kTamSegredoLink] = {};
  char motivo[256] = {};                  // operator text for a refusal
};

// Reads and checks the key file at `caminho` (a system path).  Always fills
// *saida; the result is saida->estado.
int LeChaveLink(const char* caminho, ChaveLinkLida* saida);
