// Writing: each message as segments of at most 16380 bytes behind the
// 4-byte header, one datagram each (header and piece gathered by sendmsg);
// a full reader queue is waited for in poll() within the write bound.  And
// the wake of a blocked reader.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "biblkovra/msgqueue_interno.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"

namespace {

// Sends one datagram of header and piece; *enviados gets the bytes sent.
int EnviaDatagrama(NV_MsgQueue* fila, uint8_t* cab, const uint8_t* peca, size_t n,
                   size_t* enviados, NV_Timeout* prazo) {
  for (;;) {
    DatagramaFila d(cab, const_cast<uint8_t*>(peca), n);
    const ssize_t r = sendmsg(fila->sock, &d.msg, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (r >= 0) {
      *enviados = static_cast<size_t>(r);
      return NV_OK;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return FALHA_FILA("sendmsg", errno);
    // The reader's queue is full: wait for room, within the bound.
    for (;;) {
      pollfd p{fila->sock, POLLOUT, 0};
      const int64_t resta = NV_TimeoutRestante(prazo);
      const int ms = static_cast<int>(std::min<int64_t>(std::max<int64_t>(resta, 0), INT_MAX));
      const int rp = poll(&p, 1, ms);
      if (rp > 0) break;
      if (rp == 0) return FALHA_FILA("sendmsg", ETIMEDOUT);
      if (errno != EINTR) return FALHA_FILA("poll", errno);
    }
  }
}

}  // namespace

int NV_MsgQueueWrite(NV_MsgQueue* fila, const void* msg, size_t tam) {
  if (fila == nullptr) return NV_EINVAL;
  if (fila->papel != FILA_ESCRITOR) return NV_EOPNOTSUPP;
  if (tam == 0) return NV_OK;
  if (msg == nullptr) return NV_EINVAL;
  const uint8_t* p = static_cast<const uint8_t*>(msg);
  NV_Timeout prazo;
  NV_TimeoutInicia(&prazo, Filas().espera_escrita_ms.load());
  size_t feitos = 0;
  while (feitos < tam) {
    const size_t peca = std::min(tam - feitos, kTamMaxSegmento);
    uint8_t cab[kTamCabecalhoFila] = {
        kMagicoFila[0], kMagicoFila[1], kMagicoFila[2],
        feitos + peca < tam ? kSegmentoMais : kSegmentoUltimo};
    size_t enviados = 0;
    if (int rc = EnviaDatagrama(fila, cab, p + feitos, peca, &enviados, &prazo); rc != NV_OK)
      return rc;
    // Fewer than the header sent fails; a datagram that carried none of its
    // piece would never finish the message.
    if (enviados <= kTamCabecalhoFila) return NV_EBADMSG;
    feitos += enviados - kTamCabecalhoFila;
  }
  return NV_OK;
}

int NV_MsgQueueWake(NV_MsgQueue* fila) {
  if (fila == nullptr) return NV_EINVAL;
  if (fila->papel != FILA_LEITOR) return NV_ENOSYS;
  const uint64_t um = 1;
  if (write(fila->evento, &um, sizeof um) != static_cast<ssize_t>(sizeof um) && errno != EAGAIN)
    return FALHA_FILA("write", errno);
  return NV_OK;
}
