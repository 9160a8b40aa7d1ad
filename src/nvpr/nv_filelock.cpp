// Byte-range locks as open-file-description locks (F_OFD_SETLK): they
// belong to the handle, so two handles of one process exclude each other as
// on Windows.  Requests never block; a region held elsewhere gives 13.
#include "nvpr/nv_filelock.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdint>

#include "nvpr/nv_error.h"

namespace {

int Pede(NV_Arquivo* f, int64_t pos, int64_t tam, short tipo) {
  if (f == nullptr || !f->valido || f->fd < 0) return NV_EBADF;
  if (pos < 0 || tam < 0 || tam > INT64_MAX - pos) return NV_EINVAL;
  // A region of no bytes locks nothing (on Linux length 0 would mean "to
  // the end of the file and beyond").
  if (tam == 0) return NV_OK;
  struct flock fl {};
  fl.l_type = tipo;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(pos);
  fl.l_len = static_cast<off_t>(tam);
  fl.l_pid = 0;   // required by OFD locks
  int r;
  do {
    r = fcntl(f->fd, F_OFD_SETLK, &fl);
  } while (r != 0 && errno == EINTR);
  if (r == 0) return NV_OK;
  if (errno == EAGAIN || errno == EACCES) return NV_EACCES;   // held by another handle
  return NV_FALHA_LIBC("nvpr/file", "fcntl(F_OFD_SETLK)", errno);
}

}  // namespace

int NV_FileLock(NV_Arquivo* f, int64_t pos, int64_t tam, int flags) {
  return Pede(f, pos, tam, (flags & NV_LOCK_EXCLUSIVO) ? F_WRLCK : F_RDLCK);
}

int NV_FileUnlock(NV_Arquivo* f, int64_t pos, int64_t tam) { return Pede(f, pos, tam, F_UNLCK); }

int NV_TravaRegiao::Trava(NV_Arquivo* f, int64_t pos, int64_t tam, int flags) {
  Libera();
  int rc = NV_FileLock(f, pos, tam, flags);
  if (rc == NV_OK) {
    arq_ = f;
    pos_ = pos;
    tam_ = tam;
  }
  return rc;
}

void NV_TravaRegiao::Libera() {
  if (arq_ == nullptr) return;
  NV_FileUnlock(arq_, pos_, tam_);
  arq_ = nullptr;
}
