// The audit key file and the AES-128-GCM cipher of the audit records.
#include "basico/rot_arqs_cifra.h"

#include <sys/stat.h>

#include <cstring>

#include <mbedtls/platform_util.h>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "services/texto.h"

namespace {

// A key file is a few lines; anything larger is not one.
constexpr size_t kMaxArquivoChave = 4096;

bool Espaco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Finds the first line that is neither empty nor a comment, trimmed.
bool LinhaDaChave(const char* texto, size_t n, const char** ini, size_t* tam) {
  size_t i = 0;
  while (i < n) {
    size_t fim = i;
    while (fim < n && texto[fim] != '\n') ++fim;
    size_t a = i, b = fim;
    while (a < b && Espaco(texto[a])) ++a;
    while (b > a && Espaco(texto[b - 1])) --b;
    if (b > a && texto[a] != '#') {
      *ini = texto + a;
      *tam = b - a;
      return true;
    }
    i = fim + 1;
  }
  return false;
}

int Recusa(ChaveAudit* chave, const char** motivo, const char* texto, int rc) {
  LimpaChaveAudit(chave);
  if (motivo != nullptr) *motivo = texto;
  return rc;
}

}  // namespace

void LimpaChaveAudit(ChaveAudit* chave) {
  if (chave == nullptr) return;
  mbedtls_platform_zeroize(chave->bytes, sizeof chave->bytes);
  chave->carregada = false;
}

int CarregaChaveAudit(const char* caminho, ChaveAudit* chave, const char** motivo) {
  if (chave == nullptr) return NV_EINVAL;
  if (motivo != nullptr) *motivo = nullptr;
  NV_Arquivo f;
  int rc = NV_FileOpen(&f, caminho, NV_O_RDONLY);
  if (rc == NV_ENOENT) return Recusa(chave, motivo, "arquivo de chave de audit ausente", rc);
  if (rc != NV_OK) return Recusa(chave, motivo, "arquivo de chave de audit ilegivel", NV_EACCES);
  struct stat st {};
  if (fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode))
    return Recusa(chave, motivo, "arquivo de chave de audit invalido", NV_EINVAL);
  if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    return Recusa(chave, motivo,
                  "arquivo de chave de audit acessivel a grupo ou outros (use chmod 600)",
                  NV_EACCES);
  char texto[kMaxArquivoChave + 1];
  size_t lidos = 0;
  rc = NV_FileRead(&f, texto, sizeof texto, &lidos);
  if (rc != NV_OK) return Recusa(chave, motivo, "arquivo de chave de audit ilegivel", NV_EACCES);
  int res = NV_OK;
  const char* linha = nullptr;
  size_t tam = 0;
  if (lidos > kMaxArquivoChave || !LinhaDaChave(texto, lidos, &linha, &tam) ||
      tam != 2 * kTamChaveAudit ||
      HexParaBytes(linha, tam, chave->bytes, sizeof chave->bytes) != NV_OK) {
    res = Recusa(chave, motivo, "arquivo de chave de audit sem chave de 32 digitos hexa",
                 NV_EINVAL);
  } else {
    chave->carregada = true;
  }
  mbedtls_platform_zeroize(texto, sizeof texto);
  return res;
}

CifraAudit::CifraAudit() { mbedtls_gcm_init(&gcm); }

CifraAudit::~CifraAudit() { mbedtls_gcm_free(&gcm); }

void LiberaCifraAudit(CifraAudit* c) {
  mbedtls_gcm_free(&c->gcm);   // wipes the expanded key
  mbedtls_gcm_init(&c->gcm);
  c->pronta = false;
}

int DefineCifraAudit(CifraAudit* c, const ChaveAudit* chave) {
  LiberaCifraAudit(c);
  if (chave == nullptr || !chave->carregada) return NV_EINVAL;
  if (mbedtls_gcm_setkey(&c->gcm, MBEDTLS_CIPHER_ID_AES, chave->bytes, 8 * kTamChaveAudit) != 0)
    return NV_EINVAL;
  c->pronta = true;
  return NV_OK;
}

int CifraRegistroAudit(CifraAudit* c, const uint8_t* nonce, const uint8_t* aad, size_t n_aad,
                       uint8_t* dados, size_t n, uint8_t* tag) {
  if (!c->pronta) return NV_EINVAL;
  int rc = mbedtls_gcm_crypt_and_tag(&c->gcm, MBEDTLS_GCM_ENCRYPT, n, nonce, kTamNonceAudit, aad,
                                     n_aad, dados, dados, kTamTagAudit, tag);
  return rc == 0 ? NV_OK : NV_EINVAL;
}

int DecifraRegistroAudit(CifraAudit* c, const uint8_t* nonce, const uint8_t* aad, size_t n_aad,
                         uint8_t* dados, size_t n, const uint8_t* tag) {
  if (!c->pronta) return NV_EINVAL;
  int rc = mbedtls_gcm_auth_decrypt(&c->gcm, n, nonce, kTamNonceAudit, aad, n_aad, tag,
                                    kTamTagAudit, dados, dados);
  return rc == 0 ? NV_OK : 1;
}
