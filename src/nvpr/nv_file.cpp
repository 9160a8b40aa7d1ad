// File handles: open through the path layer, read, write (whole buffers),
// positional read and write, seek, size, flush (fdatasync) and close.  A
// handle closes its descriptor when it goes out of scope.  Every failure of
// the system is reported with context "nvpr/file" and the call's name.
#include "nvpr/nv_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file_interno.h"
#include "nvpr/nv_path.h"

namespace {

constexpr const char* kCtx = "nvpr/file";
constexpr int kFlagsConhecidos =
    NV_O_RDONLY | NV_O_WRONLY | NV_O_RDWR | NV_O_CREAT | NV_O_EXCL | NV_O_TRUNC | NV_O_APPEND;

struct EstadoArquivos {
  std::atomic<int> permissao{0600};
};
EstadoArquivos g_arquivos;

// NV_O_* -> open(2) flags; -1 for a contradictory or unknown combination.
int FlagsLinux(int flags) {
  if (flags & ~kFlagsConhecidos) return -1;
  const int acesso = flags & (NV_O_RDONLY | NV_O_WRONLY | NV_O_RDWR);
  int r;
  switch (acesso) {
    case 0:
    case NV_O_RDONLY: r = O_RDONLY; break;
    case NV_O_WRONLY: r = O_WRONLY; break;
    case NV_O_RDWR: r = O_RDWR; break;
    default: return -1;
  }
  if ((flags & NV_O_EXCL) && !(flags & NV_O_CREAT)) return -1;
  if ((flags & NV_O_TRUNC) && r == O_RDONLY) return -1;
  if (flags & NV_O_CREAT) r |= O_CREAT;
  if (flags & NV_O_EXCL) r |= O_EXCL;
  if (flags & NV_O_TRUNC) r |= O_TRUNC;
  if (flags & NV_O_APPEND) r |= O_APPEND;
  return r | O_CLOEXEC;
}

bool Aberto(const NV_Arquivo* f) { return f != nullptr && f->valido && f->fd >= 0; }

}  // namespace

NV_Arquivo::NV_Arquivo(NV_Arquivo&& o) noexcept : fd(o.fd), flags(o.flags), valido(o.valido) {
  o.fd = -1;
  o.valido = false;
}

NV_Arquivo& NV_Arquivo::operator=(NV_Arquivo&& o) noexcept {
  if (this != &o) {
    NV_FileClose(this);
    fd = o.fd;
    flags = o.flags;
    valido = o.valido;
    o.fd = -1;
    o.valido = false;
  }
  return *this;
}

NV_Arquivo::~NV_Arquivo() {
  if (valido && fd >= 0) ::close(fd);
}

void NV_DefinePermissaoPadrao(int modo) { g_arquivos.permissao.store(modo & 07777); }
int NV_PermissaoPadrao() { return g_arquivos.permissao.load(); }

int NV_AbreCaminhoLinux(NV_Arquivo* f, const char* caminho_linux, int flags, int modo) {
  if (f == nullptr || caminho_linux == nullptr) return NV_EINVAL;
  NV_FileClose(f);
  const int lf = FlagsLinux(flags);
  if (lf < 0) return NV_EINVAL;
  int fd;
  do {
    fd = ::open(caminho_linux, lf, static_cast<mode_t>(modo & 07777));
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return NV_FALHA_LIBC(kCtx, "open", errno);
  // A directory is not a file: refuse it as Windows does.
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return NV_EISDIR;
  }
  f->fd = fd;
  f->flags = flags;
  f->valido = true;
  return NV_OK;
}

int NV_FileOpen(NV_Arquivo* f, const char* caminho, int flags) {
  return NV_FileOpenModo(f, caminho, flags, NV_PermissaoPadrao());
}

int NV_FileOpenModo(NV_Arquivo* f, const char* caminho, int flags, int modo) {
  if (f == nullptr) return NV_EINVAL;
  std::string linux_path;
  int rc = NV_ResolvePara(caminho, &linux_path);
  if (rc != NV_OK) return rc;
  return NV_AbreCaminhoLinux(f, linux_path.c_str(), flags, modo);
}

namespace {

// Repeats one read or write call until n bytes are moved, retrying
// interrupted calls.  A read stops early at the end of the file; a write
// that stops moving bytes is an error (5), never a silent short write.
// `op` moves bytes from offset k and returns what read(2)/write(2) return.
template <typename Op>
int Repete(const char* chamada, bool escrita, size_t n, size_t* feitos, Op op) {
  size_t total = 0;
  int rc = NV_OK;
  while (total < n) {
    ssize_t r = op(total);
    if (r < 0) {
      if (errno == EINTR) continue;
      rc = NV_FALHA_LIBC(kCtx, chamada, errno);
      break;
    }
    if (r == 0) break;
    total += static_cast<size_t>(r);
  }
  if (feitos) *feitos = total;
  if (rc == NV_OK && escrita && total < n) rc = NV_EIO;
  return rc;
}

int Verifica(NV_Arquivo* f, int64_t pos, const void* buf, size_t n, size_t* feitos) {
  if (feitos) *feitos = 0;
  if (!Aberto(f)) return NV_EBADF;
  if (pos < 0 || (buf == nullptr && n > 0)) return NV_EINVAL;
  return NV_OK;
}

off_t Em(int64_t pos, size_t feito) { return static_cast<off_t>(pos + static_cast<int64_t>(feito)); }

}  // namespace

int NV_FileRead(NV_Arquivo* f, void* buf, size_t n, size_t* lidos) {
  int rc = Verifica(f, 0, buf, n, lidos);
  if (rc != NV_OK) return rc;
  char* p = static_cast<char*>(buf);
  return Repete("read", false, n, lidos,
                [&](size_t k) { return ::read(f->fd, p + k, n - k); });
}

int NV_FileWrite(NV_Arquivo* f, const void* buf, size_t n, size_t* escritos) {
  int rc = Verifica(f, 0, buf, n, escritos);
  if (rc != NV_OK) return rc;
  const char* p = static_cast<const char*>(buf);
  return Repete("write", true, n, escritos,
                [&](size_t k) { return ::write(f->fd, p + k, n - k); });
}

int NV_FileReadAt(NV_Arquivo* f, int64_t pos, void* buf, size_t n, size_t* lidos) {
  int rc = Verifica(f, pos, buf, n, lidos);
  if (rc != NV_OK) return rc;
  char* p = static_cast<char*>(buf);
  return Repete("pread", false, n, lidos,
                [&](size_t k) { return ::pread(f->fd, p + k, n - k, Em(pos, k)); });
}

int NV_FileWriteAt(NV_Arquivo* f, int64_t pos, const void* buf, size_t n, size_t* escritos) {
  int rc = Verifica(f, pos, buf, n, escritos);
  if (rc != NV_OK) return rc;
  const char* p = static_cast<const char*>(buf);
  return Repete("pwrite", true, n, escritos,
                [&](size_t k) { return ::pwrite(f->fd, p + k, n - k, Em(pos, k)); });
}

int NV_FileSeek(NV_Arquivo* f, int64_t deslocamento, int origem, int64_t* nova_pos) {
  if (!Aberto(f)) return NV_EBADF;
  static constexpr int kOrigem[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origem < NV_SEEK_SET || origem > NV_SEEK_END) return NV_EINVAL;
  off_t r = ::lseek(f->fd, static_cast<off_t>(deslocamento), kOrigem[origem]);
  if (r < 0) return NV_FALHA_LIBC(kCtx, "lseek", errno);
  if (nova_pos) *nova_pos = static_cast<int64_t>(r);
  return NV_OK;
}

int NV_FileSetSize(NV_Arquivo* f, int64_t tamanho) {
  if (!Aberto(f)) return NV_EBADF;
  if (tamanho < 0) return NV_EINVAL;
  if (::ftruncate(f->fd, static_cast<off_t>(tamanho)) != 0)
    return NV_FALHA_LIBC(kCtx, "ftruncate", errno);
  return NV_OK;
}

int NV_FileSize(NV_Arquivo* f, int64_t* tamanho) {
  if (!Aberto(f)) return NV_EBADF;
  struct stat st;
  if (::fstat(f->fd, &st) != 0) return NV_FALHA_LIBC(kCtx, "fstat", errno);
  if (tamanho) *tamanho = static_cast<int64_t>(st.st_size);
  return NV_OK;
}

int NV_FileFlush(NV_Arquivo* f) {
  if (!Aberto(f)) return NV_EBADF;
  if (::fdatasync(f->fd) != 0) return NV_FALHA_LIBC(kCtx, "fdatasync", errno);
  return NV_OK;
}

int NV_FileClose(NV_Arquivo* f) {
  if (!Aberto(f)) return NV_EBADF;
  int fd = f->fd;
  f->fd = -1;
  f->valido = false;
  f->flags = 0;
  // The descriptor is gone after close(2) even when it reports an error.
  if (::close(fd) != 0 && errno != EINTR) return NV_FALHA_LIBC(kCtx, "close", errno);
  return NV_OK;
}
