// The read window of the audit and mirror readers, and their escaping.
#include "basico/rot_arqs_janela.h"

#include <cstdio>

#include "nvpr/nv_error.h"

int AbreJanela(JanelaArquivo* j, const char* caminho) {
  int rc = NV_FileOpen(&j->arquivo, caminho, NV_O_RDONLY);
  if (rc != NV_OK) return rc;
  rc = NV_FileSize(&j->arquivo, &j->tamanho);
  if (rc != NV_OK) return rc;
  j->base = 0;
  j->cheios = 0;
  j->erro = 0;
  j->buf.assign(kMaxJanela, 0);
  return NV_OK;
}

const uint8_t* BytesJanela(JanelaArquivo* j, int64_t pos, size_t n) {
  if (pos < 0 || n > kMaxJanela || pos > j->tamanho ||
      static_cast<int64_t>(n) > j->tamanho - pos)
    return nullptr;
  if (pos >= j->base && pos - j->base + static_cast<int64_t>(n) <= static_cast<int64_t>(j->cheios))
    return j->buf.data() + (pos - j->base);
  int64_t resta = j->tamanho - pos;
  size_t quer = resta < static_cast<int64_t>(kMaxJanela) ? static_cast<size_t>(resta) : kMaxJanela;
  size_t lidos = 0;
  int rc = NV_OK;
  while (lidos < quer) {
    size_t parte = 0;
    rc = NV_FileReadAt(&j->arquivo, pos + static_cast<int64_t>(lidos), j->buf.data() + lidos,
                       quer - lidos, &parte);
    if (rc != NV_OK || parte == 0) break;
    lidos += parte;
  }
  j->base = pos;
  j->cheios = lidos;
  if (rc != NV_OK && j->erro == 0) j->erro = rc;
  if (lidos < n) {
    if (j->erro == 0) j->erro = NV_EIO;
    return nullptr;
  }
  return j->buf.data();
}

void AnexaEscapado(std::string* s, const uint8_t* p, size_t n) {
  char hex[5];
  for (size_t i = 0; i < n; ++i) {
    if (p[i] >= 0x20 && p[i] < 0x7f && p[i] != '\\') {
      s->push_back(static_cast<char>(p[i]));
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", p[i]);
      s->append(hex);
    }
  }
}

std::string TextoDanoArquivo(int64_t posicao, int64_t bytes) {
  char linha[96];
  std::snprintf(linha, sizeof linha, "offset %lld: %lld bytes damaged or cut off, skipped",
                static_cast<long long>(posicao), static_cast<long long>(bytes));
  return linha;
}
