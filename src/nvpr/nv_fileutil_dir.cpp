// Directories: creation of one level or of every missing level, and the
// listing of the entries that match a wildcard pattern.  New directories
// are 0700: they hold the module's payment data.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_fileutil_interno.h"
#include "nvpr/nv_nomes.h"
#include "nvpr/nv_path.h"

namespace {

constexpr const char* kCtx = "nvpr/file";
constexpr mode_t kModoDiretorio = 0700;

struct FechaDir {
  void operator()(DIR* d) const { closedir(d); }
};

// One level: 0 made or already a directory; 20 when it is something else.
int UmNivel(const std::string& p, bool existente_ok) {
  if (mkdir(p.c_str(), kModoDiretorio) == 0) return NV_OK;
  int e = errno;
  if (e == EEXIST) {
    struct stat st;
    if (stat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return NV_ENOTDIR;
    return existente_ok ? NV_OK : NV_EEXIST;
  }
  if (e == ENOTDIR) return NV_ENOTDIR;
  return NV_FALHA_LIBC(kCtx, "mkdir", e);
}

}  // namespace

int NV_CriaDiretorio(const char* caminho, bool recursivo) {
  std::string p;
  int rc = NV_ResolvePara(caminho, &p);
  if (rc != NV_OK) return rc;
  if (!recursivo) return UmNivel(p, false);
  // Walk the resolved path from the start, level by level.
  for (size_t i = 1; i <= p.size(); i++) {
    if (i < p.size() && p[i] != '/') continue;
    const std::string parte = p.substr(0, i);
    struct stat st;
    if (stat(parte.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) return NV_ENOTDIR;
      continue;
    }
    if (errno == ENOTDIR) return NV_ENOTDIR;
    if (errno != ENOENT) return NV_FALHA_LIBC(kCtx, "stat", errno);
    rc = UmNivel(parte, true);
    if (rc != NV_OK) return rc;
  }
  return NV_OK;
}

int NV_ListaDiretorio(const char* dir, const char* padrao,
                      std::vector<NV_EntradaDiretorio>* saida) {
  if (saida == nullptr) return NV_EINVAL;
  saida->clear();
  std::string p;
  int rc = NV_ResolvePara(dir, &p);
  if (rc != NV_OK) return rc;
  const char* pad = (padrao == nullptr || padrao[0] == '\0') ? "*" : padrao;
  std::unique_ptr<DIR, FechaDir> d(opendir(p.c_str()));
  if (!d) return NV_FALHA_LIBC(kCtx, "opendir", errno);
  const int dfd = dirfd(d.get());
  while (const dirent* e = readdir(d.get())) {
    const std::string nome = e->d_name;
    if (nome == "." || nome == ".." || !NV_NomeCasa(pad, nome.c_str())) continue;
    struct stat st;
    if (fstatat(dfd, e->d_name, &st, 0) != 0) continue;   // removed meanwhile
    NV_EntradaDiretorio ent;
    ent.nome = nome;
    NV_PreencheInfo(st, &nome, NV_INFO_TUDO, &ent.info);
    saida->push_back(std::move(ent));
  }
  std::sort(saida->begin(), saida->end(),
            [](const NV_EntradaDiretorio& a, const NV_EntradaDiretorio& b) { return a.nome < b.nome; });
  return NV_OK;
}
