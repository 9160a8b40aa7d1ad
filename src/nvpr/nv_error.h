// Portable error codes of the run-time: 0 for success, the classic system
// error numbers 1 to 122, and the run-time's own codes from 301 up.  Every
// run-time, queue and ini operation returns one of these.
#pragma once

enum NV_Codigo : int {
  NV_SUCCESS = 0,
  NV_OK = 0,
  NV_EPERM = 1, NV_ENOENT, NV_ESRCH, NV_EINTR, NV_EIO, NV_ENXIO, NV_E2BIG,
  NV_ENOEXEC, NV_EBADF, NV_ECHILD, NV_EAGAIN, NV_ENOMEM, NV_EACCES, NV_EFAULT,
  NV_ENOTBLK, NV_EBUSY, NV_EEXIST, NV_EXDEV, NV_ENODEV, NV_ENOTDIR, NV_EISDIR,
  NV_EINVAL, NV_ENFILE, NV_EMFILE, NV_ENOTTY, NV_ETXTBSY, NV_EFBIG, NV_ENOSPC,
  NV_ESPIPE, NV_EROFS, NV_EMLINK, NV_EPIPE, NV_EDOM, NV_ERANGE, NV_EDEADLK,
  NV_ENAMETOOLONG, NV_ENOLCK, NV_ENOSYS, NV_ENOTEMPTY, NV_ELOOP /* 40 */,
  NV_ENOMSG = 42, NV_EIDRM, NV_ECHRNG, NV_EL2NSYNC, NV_EL3HLT, NV_EL3RST,
  NV_ELNRNG, NV_EUNATCH, NV_ENOCSI, NV_EL2HLT, NV_EBADE, NV_EBADR, NV_EXFULL,
  NV_ENOANO, NV_EBADRQC, NV_EBADSLT /* 57 */,
  NV_EBFONT = 59, NV_ENOSTR, NV_ENODATA, NV_ETIME, NV_ENOSR, NV_ENONET,
  NV_ENOPKG, NV_EREMOTE, NV_ENOLINK, NV_EADV, NV_ESRMNT, NV_ECOMM, NV_EPROTO,
  NV_EMULTIHOP, NV_EDOTDOT, NV_EBADMSG, NV_EOVERFLOW, NV_ENOTUNIQ, NV_EBADFD,
  NV_EREMCHG, NV_ELIBACC, NV_ELIBBAD, NV_ELIBSCN, NV_ELIBMAX, NV_ELIBEXEC,
  NV_EILSEQ, NV_ERESTART, NV_ESTRPIPE, NV_EUSERS, NV_ENOTSOCK, NV_EDESTADDRREQ,
  NV_EMSGSIZE, NV_EPROTOTYPE, NV_ENOPROTOOPT, NV_EPROTONOSUPPORT,
  NV_ESOCKTNOSUPPORT, NV_EOPNOTSUPP, NV_EPFNOSUPPORT, NV_EAFNOSUPPORT,
  NV_EADDRINUSE, NV_EADDRNOTAVAIL, NV_ENETDOWN, NV_ENETUNREACH, NV_ENETRESET,
  NV_ECONNABORTED, NV_ECONNRESET, NV_ENOBUFS, NV_EISCONN, NV_ENOTCONN,
  NV_ESHUTDOWN, NV_ETOOMANYREFS, NV_ETIMEDOUT, NV_ECONNREFUSED, NV_EHOSTDOWN,
  NV_EHOSTUNREACH, NV_EALREADY, NV_EINPROGRESS, NV_ESTALE, NV_EUCLEAN,
  NV_ENOTNAM, NV_ENAVAIL, NV_EISNAM, NV_EREMOTEIO, NV_EDQUOT /* 122 */,

  NV_FINISHED = 301,
  NV_ERROR_BUFFER_POSITION = 302,
  NV_CONTINUE = 303,
  NV_NOTFOUND = 304,
  NV_NEGREQUEST = 305,
  NV_ABANDONED = 401,
  NV_ERROR_SHARING_VIOLATION = 402,
  NV_WSANOTINITIALISED = 403,
  NV_EAI_GENERIC = 500, NV_EAI_BADFLAGS, NV_EAI_NONAME, NV_EAI_AGAIN,
  NV_EAI_FAIL, NV_EAI_NODATA, NV_EAI_FAMILY, NV_EAI_SOCKTYPE, NV_EAI_SERVICE,
  NV_EAI_ADDRFAMILY /* 509 */,
  NV_EAI_OVERFLOW = 512,
  NV_ERROR_UNKNOWN = 681,
  NV_ERROR_GENERIC_SOCKET = 1000,
  NV_ERROR_GENERIC = 1001,
};

// The symbolic name of a code; "NV_ERROR_UNKNOWN" for one not in the lists.
const char* NV_NomeErro(int codigo);

// Windows system error number -> portable code (a pure function; kept so that
// errors recorded by the Windows switch read the same here).
int NV_ErroSistema(unsigned long erro_sistema);

// errno of this platform's C library -> portable code.
int NV_ErroBiblioteca(int erro_libc);

// Reports a failed operating-system or C-library call to the trace
// dispatcher as a level-30 record (context such as "nvpr/file", variable
// "NV_TRACEMSG_LIBC" with the call's name and errno) and returns the portable
// code of that errno.  With the dispatcher's thresholds nothing is written.
int NV_ReportaErroLibc(const char* contexto, const char* arquivo, int linha,
                       const char* chamada, int erro_libc);
#define NV_FALHA_LIBC(ctx, chamada, err) \
  NV_ReportaErroLibc((ctx), __FILE__, __LINE__, (chamada), (err))
