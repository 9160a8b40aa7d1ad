// Creating (reader), opening (writer) and closing queues: binding the socket
// file, taking over a stale one, refusing a live reader, the wake eventfd,
// and the process-wide wait bounds.
#include <cerrno>
#include <cstring>
#include <new>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "biblkovra/msgqueue_interno.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"

namespace {

EstadoFilas g_filas;

// Binding is tried again after removing a stale file; another reader racing
// for the same name makes a later try fail for good.
constexpr int kTentativasBind = 3;

// A file descriptor closed when it goes out of scope unless released.
struct Descritor {
  int fd = -1;
  explicit Descritor(int v) : fd(v) {}
  Descritor(const Descritor&) = delete;
  Descritor& operator=(const Descritor&) = delete;
  ~Descritor() {
    if (fd >= 0) close(fd);
  }
  int Solta() {
    const int v = fd;
    fd = -1;
    return v;
  }
};

int NovaFila(NV_MsgQueue** saida, std::unique_ptr<NV_MsgQueue>* fila) {
  if (saida == nullptr) return NV_EINVAL;
  *saida = nullptr;
  try {
    *fila = std::make_unique<NV_MsgQueue>();
  } catch (const std::bad_alloc&) {
    return NV_ENOMEM;
  }
  return NV_OK;
}

int NovoSocket(Descritor* d) {
  d->fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  return d->fd < 0 ? FALHA_FILA("socket", errno) : NV_OK;
}

// After EADDRINUSE: 0 when the name is free again (the file was a socket
// nobody reads, now removed, or it vanished); 98 when a reader is alive or
// the file is not a socket; another code when the probe itself failed.
int LiberaSeAbandonado(const NV_MsgQueue* fila) {
  struct stat st {};
  if (lstat(fila->caminho, &st) != 0) return errno == ENOENT ? NV_OK : FALHA_FILA("lstat", errno);
  if (!S_ISSOCK(st.st_mode)) return NV_EADDRINUSE;
  Descritor sonda(-1);
  if (int rc = NovoSocket(&sonda); rc != NV_OK) return rc;
  const sockaddr_un end = EnderecoFila(fila);
  if (connect(sonda.fd, reinterpret_cast<const sockaddr*>(&end), sizeof end) == 0)
    return NV_EADDRINUSE;
  if (errno == ENOENT) return NV_OK;
  if (errno != ECONNREFUSED) return FALHA_FILA("connect", errno);
  if (unlink(fila->caminho) != 0 && errno != ENOENT) return FALHA_FILA("unlink", errno);
  return NV_OK;
}

int Vincula(NV_MsgQueue* fila, int sock) {
  const sockaddr_un end = EnderecoFila(fila);
  for (int tentativa = 1;; ++tentativa) {
    if (bind(sock, reinterpret_cast<const sockaddr*>(&end), sizeof end) == 0) break;
    if (errno != EADDRINUSE || tentativa == kTentativasBind) return FALHA_FILA("bind", errno);
    if (int rc = LiberaSeAbandonado(fila); rc != NV_OK) return rc;
  }
  struct stat st {};
  if (stat(fila->caminho, &st) != 0) {
    const int rc = FALHA_FILA("stat", errno);
    unlink(fila->caminho);
    return rc;
  }
  fila->dispositivo_arquivo = st.st_dev;
  fila->inode = st.st_ino;
  return NV_OK;
}

// Removes the reader's socket file if it is still the one it bound.
void RemoveArquivoLeitor(const NV_MsgQueue* fila) {
  struct stat st {};
  if (lstat(fila->caminho, &st) == 0 && st.st_dev == fila->dispositivo_arquivo &&
      st.st_ino == fila->inode)
    unlink(fila->caminho);
}

}  // namespace

EstadoFilas& Filas() { return g_filas; }

void NV_MsgQueueDefineEsperas(int escrita_ms, int segmento_ms) {
  g_filas.espera_escrita_ms.store(escrita_ms > 0 ? escrita_ms : kEsperaEscritaPadraoMs);
  g_filas.espera_segmento_ms.store(segmento_ms > 0 ? segmento_ms : kEsperaSegmentoPadraoMs);
}

void NV_MsgQueueReinicia() { NV_MsgQueueDefineEsperas(0, 0); }

int NV_MsgQueueCreate(NV_MsgQueue** saida, const char* nome) {
  std::unique_ptr<NV_MsgQueue> fila;
  if (int rc = NovaFila(saida, &fila); rc != NV_OK) return rc;
  fila->papel = FILA_LEITOR;
  char dir[sizeof fila->caminho + kTamMaxDispositivo];
  if (int rc = PreparaNomeFila(fila.get(), nome, dir, sizeof dir); rc != NV_OK) return rc;
  if (int rc = NV_CriaDiretorio(dir, true); rc != NV_OK && rc != NV_EEXIST) return rc;

  Descritor sock(-1);
  if (int rc = NovoSocket(&sock); rc != NV_OK) return rc;
  if (int rc = Vincula(fila.get(), sock.fd); rc != NV_OK) return rc;
  Descritor evento(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (evento.fd < 0) {
    const int rc = FALHA_FILA("eventfd", errno);
    RemoveArquivoLeitor(fila.get());
    return rc;
  }
  fila->sock = sock.Solta();
  fila->evento = evento.Solta();
  *saida = fila.release();
  return NV_OK;
}

int NV_MsgQueueOpen(NV_MsgQueue** saida, const char* nome) {
  std::unique_ptr<NV_MsgQueue> fila;
  if (int rc = NovaFila(saida, &fila); rc != NV_OK) return rc;
  fila->papel = FILA_ESCRITOR;
  if (int rc = PreparaNomeFila(fila.get(), nome, nullptr, 0); rc != NV_OK) return rc;
  Descritor sock(-1);
  if (int rc = NovoSocket(&sock); rc != NV_OK) return rc;
  const sockaddr_un end = EnderecoFila(fila.get());
  if (connect(sock.fd, reinterpret_cast<const sockaddr*>(&end), sizeof end) != 0)
    return FALHA_FILA("connect", errno);
  fila->sock = sock.Solta();
  *saida = fila.release();
  return NV_OK;
}

int NV_MsgQueueClose(NV_MsgQueue* saida) {
  if (saida == nullptr) return NV_EINVAL;
  std::unique_ptr<NV_MsgQueue> fila(saida);
  int rc = NV_OK;
  if (fila->evento >= 0 && close(fila->evento) != 0) rc = FALHA_FILA("close", errno);
  if (fila->papel == FILA_LEITOR) RemoveArquivoLeitor(fila.get());
  if (fila->sock >= 0 && close(fila->sock) != 0 && rc == NV_OK) rc = FALHA_FILA("close", errno);
  return rc;
}
