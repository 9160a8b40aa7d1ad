// Byte-range locks.  They are open-file-description locks (F_OFD_SETLK), so
// two handles of one process exclude each other as they do on Windows, and a
// lock belongs to the handle that took it.  A request never blocks: when
// another handle holds an overlapping region it fails at once with 13 and
// the caller retries.
#pragma once
#include <cstdint>
#include "nvpr/nv_file.h"

enum : int {
  NV_LOCK_EXTENDIDO  = 0x01,   // bit 0: the extended call (always available here)
  NV_LOCK_EXCLUSIVO  = 0x02,   // exclusive; otherwise shared
};

// 0, 13 when held elsewhere, 22 for a negative offset or length, 9 for a
// handle that is not open.  Linux also answers 9 to an exclusive lock on a
// handle not open for writing and to a shared one on a handle not open for
// reading, so lockers open their files read-write.
int NV_FileLock(NV_Arquivo* f, int64_t pos, int64_t tam, int flags);
int NV_FileUnlock(NV_Arquivo* f, int64_t pos, int64_t tam);

// Holds a region lock for a scope.
class NV_TravaRegiao {
 public:
  NV_TravaRegiao() = default;
  NV_TravaRegiao(const NV_TravaRegiao&) = delete;
  NV_TravaRegiao& operator=(const NV_TravaRegiao&) = delete;
  ~NV_TravaRegiao() { Libera(); }
  // Tries once; 0 when taken.
  int Trava(NV_Arquivo* f, int64_t pos, int64_t tam, int flags);
  void Libera();
  bool Travada() const { return arq_ != nullptr; }
 private:
  NV_Arquivo* arq_ = nullptr;
  int64_t pos_ = 0, tam_ = 0;
};
