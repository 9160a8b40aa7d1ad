// Portable error codes: the names of the codes, the translation of Windows
// system error numbers (kept so that errors recorded by the Windows switch
// read the same here), the translation of this platform's errno values, and
// the report of a failed C-library call to the trace dispatcher.
#include "nvpr/nv_error.h"

#include <cerrno>
#include <cstddef>

#include "nvpr/nv_trace.h"

namespace {

// Names of codes 0..122, indexed by code; null where no code exists (41, 58).
const char* const kNomesSistema[123] = {
    "NV_SUCCESS", "NV_EPERM", "NV_ENOENT", "NV_ESRCH", "NV_EINTR", "NV_EIO",
    "NV_ENXIO", "NV_E2BIG", "NV_ENOEXEC", "NV_EBADF", "NV_ECHILD", "NV_EAGAIN",
    "NV_ENOMEM", "NV_EACCES", "NV_EFAULT", "NV_ENOTBLK", "NV_EBUSY", "NV_EEXIST",
    "NV_EXDEV", "NV_ENODEV", "NV_ENOTDIR", "NV_EISDIR", "NV_EINVAL", "NV_ENFILE",
    "NV_EMFILE", "NV_ENOTTY", "NV_ETXTBSY", "NV_EFBIG", "NV_ENOSPC", "NV_ESPIPE",
    "NV_EROFS", "NV_EMLINK", "NV_EPIPE", "NV_EDOM", "NV_ERANGE", "NV_EDEADLK",
    "NV_ENAMETOOLONG", "NV_ENOLCK", "NV_ENOSYS", "NV_ENOTEMPTY", "NV_ELOOP",
    nullptr /* 41 */, "NV_ENOMSG", "NV_EIDRM", "NV_ECHRNG", "NV_EL2NSYNC",
    "NV_EL3HLT", "NV_EL3RST", "NV_ELNRNG", "NV_EUNATCH", "NV_ENOCSI", "NV_EL2HLT",
    "NV_EBADE", "NV_EBADR", "NV_EXFULL", "NV_ENOANO", "NV_EBADRQC", "NV_EBADSLT",
    nullptr /* 58 */, "NV_EBFONT", "NV_ENOSTR", "NV_ENODATA", "NV_ETIME",
    "NV_ENOSR", "NV_ENONET", "NV_ENOPKG", "NV_EREMOTE", "NV_ENOLINK", "NV_EADV",
    "NV_ESRMNT", "NV_ECOMM", "NV_EPROTO", "NV_EMULTIHOP", "NV_EDOTDOT",
    "NV_EBADMSG", "NV_EOVERFLOW", "NV_ENOTUNIQ", "NV_EBADFD", "NV_EREMCHG",
    "NV_ELIBACC", "NV_ELIBBAD", "NV_ELIBSCN", "NV_ELIBMAX", "NV_ELIBEXEC",
    "NV_EILSEQ", "NV_ERESTART", "NV_ESTRPIPE", "NV_EUSERS", "NV_ENOTSOCK",
    "NV_EDESTADDRREQ", "NV_EMSGSIZE", "NV_EPROTOTYPE", "NV_ENOPROTOOPT",
    "NV_EPROTONOSUPPORT", "NV_ESOCKTNOSUPPORT", "NV_EOPNOTSUPP", "NV_EPFNOSUPPORT",
    "NV_EAFNOSUPPORT", "NV_EADDRINUSE", "NV_EADDRNOTAVAIL", "NV_ENETDOWN",
    "NV_ENETUNREACH", "NV_ENETRESET", "NV_ECONNABORTED", "NV_ECONNRESET",
    "NV_ENOBUFS", "NV_EISCONN", "NV_ENOTCONN", "NV_ESHUTDOWN", "NV_ETOOMANYREFS",
    "NV_ETIMEDOUT", "NV_ECONNREFUSED", "NV_EHOSTDOWN", "NV_EHOSTUNREACH",
    "NV_EALREADY", "NV_EINPROGRESS", "NV_ESTALE", "NV_EUCLEAN", "NV_ENOTNAM",
    "NV_ENAVAIL", "NV_EISNAM", "NV_EREMOTEIO", "NV_EDQUOT",
};

struct NomeCodigo {
  int codigo;
  const char* nome;
};

// The run-time's own codes.
const NomeCodigo kNomesProprios[] = {
    {NV_FINISHED, "NV_FINISHED"},
    {NV_ERROR_BUFFER_POSITION, "NV_ERROR_BUFFER_POSITION"},
    {NV_CONTINUE, "NV_CONTINUE"},
    {NV_NOTFOUND, "NV_NOTFOUND"},
    {NV_NEGREQUEST, "NV_NEGREQUEST"},
    {NV_ABANDONED, "NV_ABANDONED"},
    {NV_ERROR_SHARING_VIOLATION, "NV_ERROR_SHARING_VIOLATION"},
    {NV_WSANOTINITIALISED, "NV_WSANOTINITIALISED"},
    {NV_EAI_GENERIC, "NV_EAI_GENERIC"},
    {NV_EAI_BADFLAGS, "NV_EAI_BADFLAGS"},
    {NV_EAI_NONAME, "NV_EAI_NONAME"},
    {NV_EAI_AGAIN, "NV_EAI_AGAIN"},
    {NV_EAI_FAIL, "NV_EAI_FAIL"},
    {NV_EAI_NODATA, "NV_EAI_NODATA"},
    {NV_EAI_FAMILY, "NV_EAI_FAMILY"},
    {NV_EAI_SOCKTYPE, "NV_EAI_SOCKTYPE"},
    {NV_EAI_SERVICE, "NV_EAI_SERVICE"},
    {NV_EAI_ADDRFAMILY, "NV_EAI_ADDRFAMILY"},
    {NV_EAI_OVERFLOW, "NV_EAI_OVERFLOW"},
    {NV_ERROR_UNKNOWN, "NV_ERROR_UNKNOWN"},
    {NV_ERROR_GENERIC_SOCKET, "NV_ERROR_GENERIC_SOCKET"},
    {NV_ERROR_GENERIC, "NV_ERROR_GENERIC"},
};

// Windows system errors with a code of their own.  Errors 19..36 and
// 188..202 that are not listed here fall into ranges (see NV_ErroSistema).
struct SistemaCodigo {
  unsigned long sistema;
  int codigo;
};
const SistemaCodigo kSistemaWindows[] = {
    {0, NV_SUCCESS},
    {1, NV_EINVAL}, {12, NV_EINVAL}, {13, NV_EINVAL}, {87, NV_EINVAL}, {131, NV_EINVAL},
    {2, NV_ENOENT}, {3, NV_ENOENT}, {15, NV_ENOENT}, {18, NV_ENOENT}, {53, NV_ENOENT},
    {67, NV_ENOENT}, {161, NV_ENOENT}, {206, NV_ENOENT},
    {4, NV_EMFILE},
    {5, NV_EACCES}, {16, NV_EACCES}, {33, NV_EACCES}, {65, NV_EACCES}, {82, NV_EACCES},
    {83, NV_EACCES}, {108, NV_EACCES}, {132, NV_EACCES}, {158, NV_EACCES}, {167, NV_EACCES},
    {6, NV_EBADF}, {114, NV_EBADF}, {130, NV_EBADF},
    {7, NV_ENOMEM}, {8, NV_ENOMEM}, {9, NV_ENOMEM}, {1816, NV_ENOMEM},
    {10, NV_E2BIG},
    {11, NV_ENOEXEC},
    {17, NV_EXDEV},
    {32, NV_ERROR_SHARING_VIOLATION},
    {80, NV_EEXIST}, {183, NV_EEXIST},
    {89, NV_EAGAIN}, {164, NV_EAGAIN}, {215, NV_EAGAIN},
    {104, NV_EINTR},
    {109, NV_EPIPE},
    {112, NV_ENOSPC},
    {121, NV_ETIMEDOUT}, {258, NV_ETIMEDOUT}, {1460, NV_ETIMEDOUT},
    {122, NV_ENOBUFS},
    {128, NV_ECHILD}, {129, NV_ECHILD},
    {145, NV_ENOTEMPTY},
    {998, NV_EFAULT},
};

// errno -> portable code for the values whose number is not the classic
// one on every platform.  The classic numbers 1..122 of this platform are
// checked below and map to themselves.
struct ErrnoCodigo {
  int erro;
  int codigo;
};
const ErrnoCodigo kErrnoEspeciais[] = {
#ifdef ENOTSUP
    {ENOTSUP, NV_EOPNOTSUPP},
#endif
#ifdef ENOMEDIUM
    {ENOMEDIUM, NV_ENODEV},
#endif
#ifdef EMEDIUMTYPE
    {EMEDIUMTYPE, NV_ENODEV},
#endif
#ifdef EOWNERDEAD
    {EOWNERDEAD, NV_ABANDONED},
#endif
};

}  // namespace

// On Linux the C library's errno values are the classic numbers; the
// translation below relies on it, so check the ones that differ elsewhere.
#if defined(__linux__)
static_assert(EAGAIN == 11 && EWOULDBLOCK == EAGAIN && EDEADLK == 35 && EDEADLOCK == EDEADLK);
static_assert(ENOMSG == 42 && EBADSLT == 57 && EBFONT == 59 && ELOOP == 40);
static_assert(EOPNOTSUPP == 95 && ETIMEDOUT == 110 && EDQUOT == 122);
#endif

const char* NV_NomeErro(int codigo) {
  if (codigo >= 0 && codigo <= 122) {
    const char* n = kNomesSistema[codigo];
    return n ? n : "NV_ERROR_UNKNOWN";
  }
  for (const auto& c : kNomesProprios)
    if (c.codigo == codigo) return c.nome;
  return "NV_ERROR_UNKNOWN";
}

int NV_ErroSistema(unsigned long erro_sistema) {
  for (const auto& s : kSistemaWindows)
    if (s.sistema == erro_sistema) return s.codigo;
  if (erro_sistema >= 19 && erro_sistema <= 36) return NV_EACCES;
  if (erro_sistema >= 188 && erro_sistema <= 202) return NV_ENOEXEC;
  return NV_ERROR_GENERIC;
}

int NV_ErroBiblioteca(int erro_libc) {
  if (erro_libc == 0) return NV_SUCCESS;
  for (const auto& e : kErrnoEspeciais)
    if (e.erro == erro_libc) return e.codigo;
#if defined(__linux__)
  if (erro_libc > 0 && erro_libc <= 122 && kNomesSistema[erro_libc] != nullptr)
    return erro_libc;
#endif
  return NV_ERROR_GENERIC;
}

int NV_ReportaErroLibc(const char* contexto, const char* arquivo, int linha,
                       const char* chamada, int erro_libc) {
  NV_TraceVarErro var{{"NV_TRACEMSG_LIBC", nullptr}, chamada, erro_libc};
  NV_TraceRegistro reg{"NV_TRACEMSG", contexto, 30, nullptr, arquivo, linha, &var.var};
  RegistraTrace(&reg);
  return NV_ErroBiblioteca(erro_libc);
}
