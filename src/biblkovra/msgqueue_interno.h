// The message-queue handle and the helpers shared by the msgqueue units.
// Internal to biblkovra.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/types.h>
#include <sys/un.h>

#include "biblkovra/msgqueue.h"
#include "nvpr/nv_error.h"

inline constexpr const char* kContextoFila = "kovra/msgqueue";
inline constexpr int kEsperaEscritaPadraoMs = 2000;
inline constexpr int kEsperaSegmentoPadraoMs = 2000;

enum PapelFila : int { FILA_LEITOR = 1, FILA_ESCRITOR = 2 };

struct NV_MsgQueue {
  int papel = 0;
  char dispositivo[kTamMaxDispositivo + 1] = {};   // "\\.\mailslot\<name>"
  char caminho[sizeof(sockaddr_un::sun_path)] = {};  // the socket file
  int sock = -1;
  int evento = -1;       // reader: eventfd set only by NV_MsgQueueWake
  dev_t dispositivo_arquivo = 0;   // reader: identity of the socket file bound
  ino_t inode = 0;
};

struct EstadoFilas {
  std::atomic<int> espera_escrita_ms{kEsperaEscritaPadraoMs};
  std::atomic<int> espera_segmento_ms{kEsperaSegmentoPadraoMs};
};
EstadoFilas& Filas();

// Checks the queue name and fills fila->dispositivo and fila->caminho; when
// `dir_sistema` is given (room bytes) it gets the system path of the socket
// file's directory, for the reader to create.  0 or 22.
int PreparaNomeFila(NV_MsgQueue* fila, const char* nome, char* dir_sistema, size_t room);

// The socket address of fila->caminho.
sockaddr_un EnderecoFila(const NV_MsgQueue* fila);

// A datagram as the system calls see it: the 4-byte header and the piece
// of the message behind it, gathered or scattered without a copy.
struct DatagramaFila {
  iovec partes[2];
  msghdr msg{};
  DatagramaFila(uint8_t* cab, void* peca, size_t n) : partes{{cab, kTamCabecalhoFila}, {peca, n}} {
    msg.msg_iov = partes;
    msg.msg_iovlen = 2;
  }
  DatagramaFila(const DatagramaFila&) = delete;
  DatagramaFila& operator=(const DatagramaFila&) = delete;
};

// Reports a failed system call under the queue context and returns its code.
#define FALHA_FILA(chamada, erro) NV_FALHA_LIBC(kContextoFila, (chamada), (erro))
