// Freshness records of ini files from stat() of the paths that the path
// layer resolves, and fstat() of open handles.  Times are kept to the
// nanosecond the file system gives, so an edit within one millisecond that
// keeps the size is still seen.
#include "services/ini_frescor.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "nvpr/nv_error.h"
#include "nvpr/nv_path.h"

namespace {

int64_t EmNs(const timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; }

void DaStat(const struct stat& st, RegistroArquivo* r) {
  r->modificacao_ns = EmNs(st.st_mtim);
  r->criacao_ns = EmNs(st.st_ctim);
  r->tamanho = static_cast<uint64_t>(st.st_size);
  r->identidade = static_cast<uint64_t>(st.st_ino);
  r->dispositivo = static_cast<uint64_t>(st.st_dev);
}

const char* RaizAtual() {
  const char* v = std::getenv("KOVRA_DRIVE");
  return v != nullptr ? v : "";
}

int StatResolvido(const char* caminho, struct stat* st, std::string* linux_path) {
  int r = NV_ResolvePara(caminho, linux_path);
  if (r != 0) return r;
  if (stat(linux_path->c_str(), st) != 0) return NV_ErroBiblioteca(errno);
  return 0;
}

}  // namespace

void RegistroAusente(RegistroArquivo* r) {
  r->modificacao_ns = 0;
  r->criacao_ns = 0;
  r->tamanho = ~uint64_t{0};
  r->identidade = 0;
  r->dispositivo = 0;
}

int LeRegistroCaminho(const char* caminho, const ResolucaoIni* res, RegistroArquivo* r) {
  struct stat st;
  if (res != nullptr && res->raiz == RaizAtual() && stat(res->caminho_linux.c_str(), &st) == 0) {
    DaStat(st, r);
    return 0;
  }
  std::string linux_path;
  int e = StatResolvido(caminho, &st, &linux_path);
  if (e == NV_ENOENT || e == NV_ENOTDIR) {
    RegistroAusente(r);
    return 0;
  }
  if (e != 0) return e;
  DaStat(st, r);
  return 0;
}

int LeRegistroHandle(NV_Arquivo* f, RegistroArquivo* r) {
  struct stat st;
  if (fstat(f->fd, &st) != 0) return NV_ErroBiblioteca(errno);
  if (S_ISDIR(st.st_mode)) return NV_EISDIR;
  DaStat(st, r);
  return 0;
}

std::shared_ptr<const ResolucaoIni> ResolucaoDoAberto(const char* caminho, NV_Arquivo* f) {
  struct stat pelo_caminho, aberto;
  std::string linux_path;
  if (StatResolvido(caminho, &pelo_caminho, &linux_path) != 0 || fstat(f->fd, &aberto) != 0 ||
      pelo_caminho.st_ino != aberto.st_ino || pelo_caminho.st_dev != aberto.st_dev)
    return nullptr;
  return std::make_shared<const ResolucaoIni>(ResolucaoIni{std::move(linux_path), RaizAtual()});
}

bool RegistrosIguais(const RegistroArquivo& a, const RegistroArquivo& b) {
  return a.modificacao_ns == b.modificacao_ns && a.criacao_ns == b.criacao_ns &&
         a.tamanho == b.tamanho && a.identidade == b.identidade &&
         a.dispositivo == b.dispositivo;
}
