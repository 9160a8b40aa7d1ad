// Reading and checking the link secret's key file: owner-only permissions,
// the "segredo" and "md5" lines, and the MD5 check digest.  The secret is
// kept only in the caller's record; every local copy is cleared.
#include "comms/chave_link.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include <mbedtls/md5.h>
#include <mbedtls/platform_util.h>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "services/texto.h"

namespace {

constexpr size_t kTamMd5 = 16;

// Clears a local buffer when the scope ends, whatever path it takes.
struct Limpa {
  void* p;
  size_t n;
  ~Limpa() { mbedtls_platform_zeroize(p, n); }
};

int Recusa(ChaveLinkLida* saida, const char* caminho, const char* formato, long valor = 0) {
  char detalhe[160];
  std::snprintf(detalhe, sizeof detalhe, formato, valor);
  std::snprintf(saida->motivo, sizeof saida->motivo, "Chave de link recusada (%s): %s", caminho,
                detalhe);
  mbedtls_platform_zeroize(saida->segredo, sizeof saida->segredo);
  saida->estado = CHAVE_RECUSADA;
  return saida->estado;
}

std::string_view Apara(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Hex text of exactly 2*n digits into n bytes.
bool HexExato(std::string_view hex, uint8_t* saida, size_t n) {
  return hex.size() == 2 * n && HexParaBytes(hex.data(), hex.size(), saida, n) == 0;
}

}  // namespace

int LeChaveLink(const char* caminho, ChaveLinkLida* saida) {
  *saida = ChaveLinkLida{};
  NV_Arquivo f;
  int rc = NV_FileOpen(&f, caminho, NV_O_RDONLY);
  if (rc == NV_ENOENT) return saida->estado;
  if (rc == NV_EISDIR) return Recusa(saida, caminho, "nao e um arquivo comum");
  if (rc != NV_OK) return Recusa(saida, caminho, "erro %ld ao abrir o arquivo", rc);

  struct stat st {};
  if (fstat(f.fd, &st) != 0) return Recusa(saida, caminho, "erro %ld em fstat", errno);
  if (!S_ISREG(st.st_mode)) return Recusa(saida, caminho, "nao e um arquivo comum");
  if (st.st_uid != geteuid())
    return Recusa(saida, caminho, "o dono (uid %ld) nao e o usuario do processo",
                  static_cast<long>(st.st_uid));
  if ((st.st_mode & 077) != 0)
    return Recusa(saida, caminho, "acessivel por grupo ou outros (modo %04lo); use chmod 600",
                  static_cast<long>(st.st_mode & 07777));

  char texto[kTamMaxArquivoChave + 1];
  Limpa limpa_texto{texto, sizeof texto};
  size_t total = 0;
  for (;;) {
    size_t lidos = 0;
    rc = NV_FileRead(&f, texto + total, sizeof texto - total, &lidos);
    if (rc != NV_OK) return Recusa(saida, caminho, "erro %ld na leitura", rc);
    if (lidos == 0) break;
    total += lidos;
    if (total > kTamMaxArquivoChave)
      return Recusa(saida, caminho, "maior que %ld bytes", static_cast<long>(kTamMaxArquivoChave));
  }

  uint8_t md5_lido[kTamMd5] = {};
  bool tem_segredo = false, tem_md5 = false;
  std::string_view resto(texto, total);
  long num_linha = 0;
  while (!resto.empty()) {
    ++num_linha;
    size_t fim = resto.find('\n');
    std::string_view linha = Apara(resto.substr(0, fim));
    resto = fim == std::string_view::npos ? std::string_view() : resto.substr(fim + 1);
    if (linha.empty() || linha.front() == '#' || linha.front() == ';') continue;
    size_t igual = linha.find('=');
    if (igual == std::string_view::npos)
      return Recusa(saida, caminho, "linha %ld sem \"=\"", num_linha);
    std::string_view nome = Apara(linha.substr(0, igual));
    std::string_view valor = Apara(linha.substr(igual + 1));
    if (nome == "segredo") {
      if (tem_segredo || !HexExato(valor, saida->segredo, kTamSegredoLink))
        return Recusa(saida, caminho, "segredo deve ser uma linha de 30 digitos hexadecimais");
      tem_segredo = true;
    } else if (nome == "md5") {
      if (tem_md5 || !HexExato(valor, md5_lido, kTamMd5))
        return Recusa(saida, caminho, "md5 deve ser uma linha de 32 digitos hexadecimais");
      tem_md5 = true;
    } else if (nome == "uso") {
      if (valor != "teste" && valor != "producao")
        return Recusa(saida, caminho, "uso deve ser teste ou producao");
      saida->teste = valor == "teste";
    } else {
      return Recusa(saida, caminho, "nome desconhecido na linha %ld", num_linha);
    }
  }
  if (!tem_segredo) return Recusa(saida, caminho, "falta a linha segredo");
  if (!tem_md5) return Recusa(saida, caminho, "falta a linha md5");

  uint8_t md5[kTamMd5];
  Limpa limpa_md5{md5, sizeof md5};
  if (mbedtls_md5_ret(saida->segredo, kTamSegredoLink, md5) != 0)
    return Recusa(saida, caminho, "falha no calculo do MD5");
  unsigned diferenca = 0;
  for (size_t i = 0; i < kTamMd5; ++i) diferenca |= static_cast<unsigned>(md5[i] ^ md5_lido[i]);
  if (diferenca != 0) return Recusa(saida, caminho, "o md5 nao confere com o segredo");
  saida->estado = CHAVE_VALIDA;
  return saida->estado;
}
