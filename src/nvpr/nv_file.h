// File handles of the run-time: open, read, write, seek, set size, flush and
// close, with the portable error codes.  Paths go through the path layer.
// A handle closes itself when it goes out of scope.
#pragma once
#include <cstddef>
#include <cstdint>

enum : int {
  NV_O_RDONLY = 0x0001,
  NV_O_WRONLY = 0x0002,
  NV_O_RDWR   = 0x0004,
  NV_O_CREAT  = 0x0010,   // create when missing
  NV_O_EXCL   = 0x0020,   // with NV_O_CREAT: fail with 17 when it exists
  NV_O_TRUNC  = 0x0040,
  NV_O_APPEND = 0x0080,
};

enum : int { NV_SEEK_SET = 0, NV_SEEK_CUR = 1, NV_SEEK_END = 2 };

struct NV_Arquivo {
  int fd = -1;
  int flags = 0;
  bool valido = false;

  NV_Arquivo() = default;
  NV_Arquivo(const NV_Arquivo&) = delete;
  NV_Arquivo& operator=(const NV_Arquivo&) = delete;
  NV_Arquivo(NV_Arquivo&& o) noexcept;
  NV_Arquivo& operator=(NV_Arquivo&& o) noexcept;
  ~NV_Arquivo();
};

// Permission bits of new files (process-wide default 0600: the module's
// files hold payment data and belong to its owner).
void NV_DefinePermissaoPadrao(int modo);

int NV_FileOpen(NV_Arquivo* f, const char* caminho, int flags);
int NV_FileOpenModo(NV_Arquivo* f, const char* caminho, int flags, int modo);
// Reads up to n bytes at the current position; *lidos gets the count (0 at end).
int NV_FileRead(NV_Arquivo* f, void* buf, size_t n, size_t* lidos);
// Writes all n bytes (retrying short writes); *escritos gets the count.
int NV_FileWrite(NV_Arquivo* f, const void* buf, size_t n, size_t* escritos);
// Positional forms that do not move the file position.
int NV_FileReadAt(NV_Arquivo* f, int64_t pos, void* buf, size_t n, size_t* lidos);
int NV_FileWriteAt(NV_Arquivo* f, int64_t pos, const void* buf, size_t n, size_t* escritos);
int NV_FileSeek(NV_Arquivo* f, int64_t deslocamento, int origem, int64_t* nova_pos);
int NV_FileSetSize(NV_Arquivo* f, int64_t tamanho);
int NV_FileSize(NV_Arquivo* f, int64_t* tamanho);
// Flushes the data to the disk (fdatasync).
int NV_FileFlush(NV_Arquivo* f);
int NV_FileClose(NV_Arquivo* f);
