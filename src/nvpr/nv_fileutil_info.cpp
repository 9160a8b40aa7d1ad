// File existence and file information (identity, size, kind, times, name)
// by path or by open handle.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_fileutil_interno.h"
#include "nvpr/nv_path.h"

namespace {

int64_t EmMs(const timespec& ts) {
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void Hora(const timespec& ts, bool utc, NV_DataHora* dh, int64_t* ms) {
  *ms = EmMs(ts);
  NV_ConverteHora(static_cast<int64_t>(ts.tv_sec), utc, dh);
  dh->milisegundo = static_cast<int>(ts.tv_nsec / 1000000);
}

std::string NomeFinal(const std::string& caminho) {
  size_t p = caminho.find_last_of('/');
  return p == std::string::npos ? caminho : caminho.substr(p + 1);
}

}  // namespace

void NV_PreencheInfo(const struct stat& st, const std::string* nome, unsigned itens,
                     NV_InfoArquivo* info) {
  const bool utc = (itens & NV_INFO_UTC) != 0;
  *info = NV_InfoArquivo{};
  if (itens & NV_INFO_ID) {
    info->id = static_cast<uint64_t>(st.st_ino) ^ (static_cast<uint64_t>(st.st_dev) << 40);
    info->dispositivo = static_cast<uint64_t>(st.st_dev);
    info->presentes |= NV_INFO_ID;
  }
  if (itens & NV_INFO_TAMANHO) {
    info->tamanho = static_cast<int64_t>(st.st_size);
    info->presentes |= NV_INFO_TAMANHO;
  }
  if (itens & NV_INFO_TIPO) {
    info->diretorio = S_ISDIR(st.st_mode);
    info->regular = S_ISREG(st.st_mode);
    info->presentes |= NV_INFO_TIPO;
  }
  if (itens & NV_INFO_MODIF) {
    Hora(st.st_mtim, utc, &info->modificacao, &info->modificacao_ms);
    info->presentes |= NV_INFO_MODIF;
  }
  if (itens & NV_INFO_CRIACAO) {
    Hora(st.st_ctim, utc, &info->criacao, &info->criacao_ms);
    info->presentes |= NV_INFO_CRIACAO;
  }
  if (itens & NV_INFO_ACESSO) {
    Hora(st.st_atim, utc, &info->acesso, &info->acesso_ms);
    info->presentes |= NV_INFO_ACESSO;
  }
  if ((itens & NV_INFO_NOME) && nome != nullptr) {
    info->nome = *nome;
    info->presentes |= NV_INFO_NOME;
  }
}

int ExisteArquivo(const char* caminho) {
  std::string p;
  if (NV_ResolvePara(caminho, &p) != NV_OK) return 0;
  struct stat st;
  return stat(p.c_str(), &st) == 0 ? 1 : 0;
}

int NV_InfoArquivoCaminho(const char* caminho, unsigned itens, NV_InfoArquivo* info) {
  if (info == nullptr) return NV_EINVAL;
  std::string p;
  int rc = NV_ResolvePara(caminho, &p);
  if (rc != NV_OK) return rc;
  struct stat st;
  if (stat(p.c_str(), &st) != 0) return NV_FALHA_LIBC("nvpr/file", "stat", errno);
  const std::string nome = NomeFinal(p);
  NV_PreencheInfo(st, &nome, itens, info);
  return NV_OK;
}

int NV_InfoArquivoHandle(NV_Arquivo* f, unsigned itens, NV_InfoArquivo* info) {
  if (info == nullptr) return NV_EINVAL;
  if (f == nullptr || !f->valido || f->fd < 0) return NV_EBADF;
  struct stat st;
  if (fstat(f->fd, &st) != 0) return NV_FALHA_LIBC("nvpr/file", "fstat", errno);
  // The name as the system knows it now (after renames), when it can say.
  std::string nome;
  if (itens & NV_INFO_NOME) {
    char link[64];
    char alvo[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", f->fd);
    ssize_t n = readlink(link, alvo, sizeof alvo - 1);
    if (n > 0) {
      alvo[n] = '\0';
      nome = NomeFinal(alvo);
    }
  }
  NV_PreencheInfo(st, nome.empty() ? nullptr : &nome, itens, info);
  return NV_OK;
}
