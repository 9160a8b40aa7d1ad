// Reading: waiting in poll() on the socket and the wake eventfd, receiving
// each datagram straight into the caller's buffer behind its 4-byte header,
// checking size, magic and type, skipping type-253 notifications and
// joining the segments of a message.
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

// Waits until a datagram is there (0), the wake event is set (4, and the
// event is reset), or the deadline passes (110; a record without limit
// waits for ever).
int Aguarda(NV_MsgQueue* fila, NV_Timeout* prazo) {
  for (;;) {
    pollfd p[2] = {{fila->evento, POLLIN, 0}, {fila->sock, POLLIN, 0}};
    const int64_t resta = NV_TimeoutRestante(prazo);
    const int ms = resta < 0 ? -1 : static_cast<int>(std::min<int64_t>(resta, INT_MAX));
    const int r = poll(p, 2, ms);
    if (r < 0) {
      if (errno == EINTR) continue;
      return FALHA_FILA("poll", errno);
    }
    if (r == 0) return NV_ETIMEDOUT;
    if (p[0].revents & POLLIN) {
      uint64_t valor = 0;
      if (read(fila->evento, &valor, sizeof valor) < 0 && errno != EAGAIN)
        return FALHA_FILA("read", errno);
      return NV_EINTR;
    }
    if ((p[0].revents | p[1].revents) & POLLNVAL) return FALHA_FILA("poll", EBADF);
    if (p[1].revents & (POLLIN | POLLERR)) return NV_OK;
  }
}

// Receives one datagram: its first 4 bytes into cab, the next `cabe` bytes
// into destino.  *tam gets the datagram's whole length, even when it did not
// fit (the rest is discarded by the socket).
int RecebeDatagrama(NV_MsgQueue* fila, uint8_t* cab, uint8_t* destino, size_t cabe, size_t* tam,
                    NV_Timeout* prazo) {
  uint8_t vazio = 0;
  for (;;) {
    if (int rc = Aguarda(fila, prazo); rc != NV_OK) return rc;
    DatagramaFila d(cab, cabe > 0 ? destino : &vazio, cabe);
    const ssize_t r = recvmsg(fila->sock, &d.msg, MSG_DONTWAIT | MSG_TRUNC);
    if (r >= 0) {
      *tam = static_cast<size_t>(r);
      return NV_OK;
    }
    if (errno != EAGAIN && errno != EINTR) return FALHA_FILA("recvmsg", errno);
  }
}

bool CabecalhoValido(const uint8_t* cab, size_t tam) {
  return tam >= kTamCabecalhoFila && std::memcmp(cab, kMagicoFila, sizeof kMagicoFila) == 0 &&
         cab[3] >= kSegmentoUltimo && cab[3] <= kSegmentoDescarte;
}

}  // namespace

int NV_MsgQueueRead(NV_MsgQueue* fila, void* buf, size_t tam, size_t* tam_lido) {
  if (fila == nullptr || tam_lido == nullptr || (buf == nullptr && tam > 0)) return NV_EINVAL;
  *tam_lido = 0;
  if (fila->papel != FILA_LEITOR) return NV_EOPNOTSUPP;
  uint8_t* saida = static_cast<uint8_t*>(buf);
  // The largest datagram accepted for this buffer: one more than the biggest
  // that fits (so an oversized one is told apart), never above 16384.
  const size_t limite = tam > kTamMaxDatagrama - 5 ? kTamMaxDatagrama : tam + 5;
  size_t total = 0;    // message bytes joined so far
  size_t sujos = 0;    // bytes of buf written so far, zeroed on failure
  bool juntando = false;
  int rc;
  for (;;) {
    const size_t resta = tam - total;
    const size_t cabe = resta >= kTamCabecalhoFila
                            ? std::min(resta - kTamCabecalhoFila, kTamMaxSegmento)
                            : 0;
    uint8_t cab[kTamCabecalhoFila] = {};
    size_t n = 0;
    // The first datagram is awaited without limit; once a message has begun
    // its next segment must come within the segment bound.
    NV_Timeout prazo;
    if (juntando) NV_TimeoutInicia(&prazo, Filas().espera_segmento_ms.load());
    else NV_TimeoutSemLimite(&prazo);
    rc = RecebeDatagrama(fila, cab, saida + total, cabe, &n, &prazo);
    if (rc == NV_ETIMEDOUT) rc = NV_EBADMSG;   // a message that never ended
    if (rc != NV_OK) break;
    const size_t carga = n > kTamCabecalhoFila ? n - kTamCabecalhoFila : 0;
    sujos = std::max(sujos, total + std::min(carga, cabe));
    if (n > limite || n > resta) {
      rc = NV_EMSGSIZE;
      break;
    }
    if (!CabecalhoValido(cab, n)) {
      rc = NV_EBADMSG;
      break;
    }
    if (cab[3] == kSegmentoDescarte) {
      std::memset(saida + total, 0, carga);
      continue;
    }
    total += carga;
    if (cab[3] == kSegmentoMais) {
      juntando = true;
      continue;
    }
    *tam_lido = total;
    return cab[3] == kSegmentoNotificacao ? NV_NEGREQUEST : NV_OK;
  }
  if (sujos > 0) std::memset(saida, 0, sujos);
  return rc;
}
