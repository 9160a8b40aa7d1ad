// The path layer: turns the system's spellings of a path (from the drive
// root, with backslashes, relative to the working directory, in any letter
// case) into the Linux path of the file.  The drive root is re-read from
// KOVRA_DRIVE at every call (a relative one from the working directory, so
// a relative setting never lands at the top of the file system).  Components are first normalised lexically
// ("." and empty dropped, ".." taken back, never above the drive root for a
// rooted path); then each one without an exact match is looked up without
// regard to case among its directory's entries; from the first component
// that does not exist on, the rest is kept as spelled.
#include "nvpr/nv_path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "nvpr/nv_error.h"
#include "nvpr/nv_nomes.h"

namespace {

struct FechaDir {
  void operator()(DIR* d) const { closedir(d); }
};

bool Existe(const std::string& p) {
  struct stat st;
  return lstat(p.c_str(), &st) == 0;
}

std::string Junta(const std::string& base, const std::string& nome) {
  if (base.empty() || base.back() != '/') return base + "/" + nome;
  return base + nome;
}

// The entry of `dir` equal to `nome` without regard to case; when several
// are, the smallest in byte order, so the choice never depends on the
// order of the directory.
bool ProcuraSemCaixa(const std::string& dir, const std::string& nome, std::string* achado) {
  std::unique_ptr<DIR, FechaDir> d(opendir(dir.c_str()));
  if (!d) return false;
  bool tem = false;
  while (const dirent* e = readdir(d.get())) {
    if (!NV_NomesIguais(e->d_name, nome.c_str())) continue;
    if (!tem || std::strcmp(e->d_name, achado->c_str()) < 0) *achado = e->d_name;
    tem = true;
  }
  return tem;
}

// Splits on "/" and "\" into the list, applying "." and "..".  A ".." that
// would leave the base is dropped when `limitado` (rooted paths), otherwise
// it takes back a component of the base itself.
void Componentes(const char* caminho, std::vector<std::string>* base, size_t fixos,
                 std::vector<std::string>* saida) {
  std::string atual;
  auto fecha = [&] {
    if (atual.empty() || atual == ".") {
    } else if (atual == "..") {
      if (!saida->empty()) saida->pop_back();
      else if (base->size() > fixos) base->pop_back();
    } else {
      saida->push_back(atual);
    }
    atual.clear();
  };
  for (const char* p = caminho; *p; p++) {
    if (*p == '/' || *p == '\\') fecha();
    else atual.push_back(*p);
  }
  fecha();
}

// The components of an absolute Linux path; "." and empty ones dropped,
// ".." taking back the one before it.
void DivideBase(const std::string& base, std::vector<std::string>* partes) {
  std::string atual;
  auto fecha = [&] {
    if (atual == "..") {
      if (!partes->empty()) partes->pop_back();
    } else if (!atual.empty() && atual != ".") {
      partes->push_back(atual);
    }
    atual.clear();
  };
  for (char c : base) {
    if (c == '/') fecha();
    else atual.push_back(c);
  }
  fecha();
}

int DiretorioAtual(std::string* saida) {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return NV_FALHA_LIBC("nvpr/file", "getcwd", errno);
  *saida = cwd;
  return NV_OK;
}

// The drive root as an absolute path: KOVRA_DRIVE ("/" when unset or
// empty); a relative value names a directory from the working directory,
// never one under "/".
int LeRaiz(std::string* raiz) {
  const char* v = std::getenv("KOVRA_DRIVE");
  if (v == nullptr || v[0] == '\0') {
    *raiz = "/";
    return NV_OK;
  }
  raiz->clear();
  if (v[0] != '/') {
    int rc = DiretorioAtual(raiz);
    if (rc != NV_OK) return rc;
  }
  std::vector<std::string> partes;
  DivideBase(*raiz + "/" + v, &partes);
  raiz->clear();
  for (const auto& p : partes) *raiz += "/" + p;
  if (raiz->empty()) *raiz = "/";
  return NV_OK;
}

int Resolve(const char* caminho, std::string* saida) {
  if (caminho == nullptr || caminho[0] == '\0') return NV_EINVAL;
  const bool enraizado = caminho[0] == '/' || caminho[0] == '\\';
  std::string base;
  int rc = enraizado ? LeRaiz(&base) : DiretorioAtual(&base);
  if (rc != NV_OK) return rc;
  // The base as components; for a rooted path none of them may be taken back.
  std::vector<std::string> partes_base;
  DivideBase(base, &partes_base);
  const size_t fixos = enraizado ? partes_base.size() : 0;
  std::vector<std::string> comps;
  Componentes(caminho, &partes_base, fixos, &comps);

  std::string atual = "/";
  for (const auto& p : partes_base) atual = Junta(atual, p);
  if (comps.empty()) {
    *saida = atual;
    return NV_OK;
  }
  // Fast path: the whole path exists exactly as spelled.
  std::string direto = atual;
  for (const auto& c : comps) direto = Junta(direto, c);
  if (Existe(direto)) {
    *saida = direto;
    return NV_OK;
  }
  bool faltou = false;
  for (const auto& c : comps) {
    std::string exato = Junta(atual, c);
    if (!faltou && !Existe(exato)) {
      std::string achado;
      if (ProcuraSemCaixa(atual, c, &achado)) exato = Junta(atual, achado);
      else faltou = true;
    }
    atual = exato;
  }
  *saida = atual;
  return NV_OK;
}

}  // namespace

std::string NV_RaizDrive() {
  std::string r;
  if (LeRaiz(&r) != NV_OK) return std::string();
  return r;
}

int NV_ResolveCaminho(const char* caminho, char* saida, size_t room) {
  if (saida == nullptr || room == 0) return NV_EINVAL;
  saida[0] = '\0';
  std::string r;
  int rc = Resolve(caminho, &r);
  if (rc != NV_OK) return rc;
  if (r.size() >= room) return NV_ENAMETOOLONG;
  std::memcpy(saida, r.c_str(), r.size() + 1);
  return NV_OK;
}

int NV_ResolvePara(const char* caminho, std::string* saida) {
  if (saida == nullptr) return NV_EINVAL;
  saida->clear();
  return Resolve(caminho, saida);
}

std::string NV_Caminho(const char* caminho) {
  std::string r;
  if (Resolve(caminho, &r) != NV_OK) return std::string();
  return r;
}
