// Rename with the switch's retry policy, and the delete that frees the name
// at once.  Rename: one attempt (replacing the target only when asked); a
// replacing rename that finds nothing is tried once more without replacing;
// while the answer is an access or sharing violation it is retried up to 7
// times after 16, 32, ... 1024 ms.  On Linux a rename is never blocked by
// another process reading the file; the retries cover EACCES and EBUSY.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_fileutil_interno.h"
#include "nvpr/nv_path.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_random.h"

namespace {

constexpr const char* kCtx = "nvpr/file";
constexpr int kRetentativas = 7;
constexpr int64_t kPrimeiraEspera = 16;
constexpr int kSorteiosRemocao = 100;

bool TemAlvo(const char* caminho) {
  struct stat st;
  return lstat(caminho, &st) == 0;
}

// Without replacing: renameat2 RENAME_NOREPLACE, or on a file system
// without it a hard link and unlink (atomic against a racing creator), or
// for a directory there a check and rename.
int RenomeiaSemSubstituir(const char* antigo, const char* novo) {
  if (renameat2(AT_FDCWD, antigo, AT_FDCWD, novo, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
  if (link(antigo, novo) == 0) {
    if (unlink(antigo) == 0) return 0;
    int e = errno;
    unlink(novo);
    return e;
  }
  if (errno != EPERM && errno != EOPNOTSUPP) return errno;
  if (TemAlvo(novo)) return EEXIST;
  return rename(antigo, novo) == 0 ? 0 : errno;
}

int RenomeiaSistema(const char* antigo, const char* novo, bool substitui) {
  if (substitui) return rename(antigo, novo) == 0 ? 0 : errno;
  return RenomeiaSemSubstituir(antigo, novo);
}

void EsperaReal(int64_t ms) { NV_Sleep(ms); }

struct EstadoRenomeia {
  std::atomic<NV_FuncaoRenomeia> renomeia{RenomeiaSistema};
  std::atomic<NV_FuncaoEspera> espera{EsperaReal};
};
EstadoRenomeia g_renomeia;

bool Bloqueado(int e) { return e == EACCES || e == EBUSY || e == ETXTBSY; }

std::string Diretorio(const std::string& caminho) {
  size_t p = caminho.find_last_of('/');
  if (p == std::string::npos) return ".";
  if (p == 0) return "/";
  return caminho.substr(0, p);
}

}  // namespace

void NV_DefineRenomeiaSistema(NV_FuncaoRenomeia renomeia, NV_FuncaoEspera espera) {
  g_renomeia.renomeia.store(renomeia ? renomeia : RenomeiaSistema);
  g_renomeia.espera.store(espera ? espera : EsperaReal);
}

int NV_Renomeia(const char* antigo, const char* novo, int flags) {
  if ((flags & NV_RENOMEIA_SUBSTITUI) && (flags & NV_RENOMEIA_NAO_SUBSTITUI)) return NV_EINVAL;
  std::string a, n;
  int rc = NV_ResolvePara(antigo, &a);
  if (rc == NV_OK) rc = NV_ResolvePara(novo, &n);
  if (rc != NV_OK) return rc;
  if (a == n) return TemAlvo(a.c_str()) ? NV_OK : NV_ENOENT;   // a rename onto itself
  NV_FuncaoRenomeia f = g_renomeia.renomeia.load();
  NV_FuncaoEspera espera = g_renomeia.espera.load();
  bool substitui = (flags & NV_RENOMEIA_SUBSTITUI) != 0;
  int e = f(a.c_str(), n.c_str(), substitui);
  if (e == ENOENT && substitui) {
    substitui = false;
    e = f(a.c_str(), n.c_str(), substitui);
  }
  int64_t ms = kPrimeiraEspera;
  for (int i = 0; i < kRetentativas && Bloqueado(e); i++, ms *= 2) {
    espera(ms);
    e = f(a.c_str(), n.c_str(), substitui);
  }
  if (e == 0) return NV_OK;
  if (e == EEXIST) return NV_EEXIST;
  return NV_FALHA_LIBC(kCtx, "rename", e);
}

int NV_Remove(const char* caminho, bool simples) {
  std::string p;
  int rc = NV_ResolvePara(caminho, &p);
  if (rc != NV_OK) return rc;
  if (!simples) {
    // Move it aside under a name of its own first, so the name is free at
    // once, then remove that name.
    const std::string dir = Diretorio(p);
    for (int i = 0; i < kSorteiosRemocao; i++) {
      char nome[9] = {'r', 'm'};
      NV_CaracteresAleatorios(nome + 2, 6);
      nome[8] = '\0';
      const std::string tmp = dir + "/" + nome;
      int e = RenomeiaSemSubstituir(p.c_str(), tmp.c_str());
      if (e == EEXIST) continue;
      if (e != 0) return NV_FALHA_LIBC(kCtx, "rename", e);
      p = tmp;
      break;
    }
  }
  if (unlink(p.c_str()) != 0) return NV_FALHA_LIBC(kCtx, "unlink", errno);
  return NV_OK;
}
