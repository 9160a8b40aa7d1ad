// Unique temporary files: dir + "/" + prefix + random characters + suffix,
// created exclusively, drawing a new name while the name exists (at most
// 62 x 62 x 62 draws).  Each name goes through the path layer, so a file
// that differs only in letter case counts as existing, as on Windows.
#include <string>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file_interno.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_path.h"
#include "nvpr/nv_random.h"

namespace {
constexpr int kMaxSorteios = 62 * 62 * 62;
constexpr int kMaxAleatorios = 255;
}  // namespace

int NV_ArquivoTemporario(const char* dir, const char* prefixo, int aleatorios,
                         const char* sufixo, NV_Arquivo* f, char* nome, size_t room) {
  if (dir == nullptr || dir[0] == '\0' || f == nullptr || aleatorios < 0 ||
      aleatorios > kMaxAleatorios)
    return NV_EINVAL;
  std::string base = dir;
  base += "/";
  if (prefixo) base += prefixo;
  const std::string fim = sufixo ? sufixo : "";
  // The name handed back is spelled like the directory given, so that it
  // reaches the same file through every other call of the run-time.
  if (nome != nullptr && base.size() + static_cast<size_t>(aleatorios) + fim.size() >= room)
    return NV_ENAMETOOLONG;
  const int sorteios = aleatorios == 0 ? 1 : kMaxSorteios;
  int rc = NV_EEXIST;
  for (int i = 0; i < sorteios && rc == NV_EEXIST; i++) {
    std::string candidato = base;
    candidato.resize(base.size() + static_cast<size_t>(aleatorios));
    NV_CaracteresAleatorios(&candidato[base.size()], aleatorios);
    candidato += fim;
    std::string linux_path;
    rc = NV_ResolvePara(candidato.c_str(), &linux_path);
    if (rc != NV_OK) return rc;
    rc = NV_AbreCaminhoLinux(f, linux_path.c_str(), NV_O_RDWR | NV_O_CREAT | NV_O_EXCL,
                             NV_PermissaoPadrao());
    if (rc == NV_OK && nome != nullptr) {
      candidato.copy(nome, candidato.size());
      nome[candidato.size()] = '\0';
    }
  }
  return rc;
}
