// Message queues of the switch: named, one-way queues of whole messages with
// one reading process (which creates the queue) and any number of writers
// (which open it by name).  On Linux a queue is a Unix datagram socket bound
// at <drive>/kovra/mailslot/<queue name> ("\" in the name read as "/"); the
// reader binds it and creates the directories, writers connect to it.
//
// Every datagram, in both directions, is
//     offset 0  3 bytes  magic FE FF FD
//     offset 3  1 byte   segment type (kSegmento*)
//     offset 4  0 to 16380 bytes of payload: the next piece of the message
// so a message longer than 16380 bytes travels as 251 segments and a last
// 250 segment, and the reader joins them again.  Anyone can talk to a queue
// with a few lines of any language by following this framing.
//
// Results are 0 or an NV_ code (nvpr/nv_error.h):
//   4   NV_EINTR       read woken by NV_MsgQueueWake
//   12  NV_ENOMEM      no memory for the handle
//   22  NV_EINVAL      bad queue name (one of < > " : | ? * or a control
//                      character, a ".." component, a last component that
//                      is empty or "."), a device name
//                      "\\.\mailslot\<name>" over 64 characters, or a socket
//                      path that does not fit the socket address
//   38  NV_ENOSYS      wake on a writer handle
//   74  NV_EBADMSG     malformed datagram (short, no magic, unknown type), a
//                      message whose next segment never came, or a write
//                      that did not even send the header
//   90  NV_EMSGSIZE    datagram or message too large for the caller's buffer
//                      (or over 16384 bytes); it is dropped
//   95  NV_EOPNOTSUPP  read on a writer handle or write on a reader handle
//   98  NV_EADDRINUSE  create: another reader holds the queue
//   110 NV_ETIMEDOUT   write: the reader's queue stayed full past the bound
//   111 NV_ECONNREFUSED / 2 NV_ENOENT  open or write: no reader (any more)
//   305 NV_NEGREQUEST  a notification (type 252) was read
// System-call failures are reported to the trace dispatcher with the call's
// name under the context "kovra/msgqueue".
//
// A handle is used by one thread at a time.  The only cross-thread call is
// NV_MsgQueueWake, which another thread may make while the owner is blocked
// in NV_MsgQueueRead (to stop a reader: wake it, let it return, then close).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

inline constexpr uint8_t kMagicoFila[3] = {0xFE, 0xFF, 0xFD};
inline constexpr size_t kTamCabecalhoFila = 4;
inline constexpr size_t kTamMaxDatagrama = 16384;
inline constexpr size_t kTamMaxSegmento = kTamMaxDatagrama - kTamCabecalhoFila;   // 16380
inline constexpr size_t kTamMaxDispositivo = 64;

enum : uint8_t {
  kSegmentoUltimo = 250,       // last (or only) segment of a message
  kSegmentoMais = 251,         // a segment, more follow
  kSegmentoNotificacao = 252,  // last segment of a notification: read gives 305
  kSegmentoDescarte = 253,     // a notification the reader drops
};

// Where queues live, from the drive root.
inline constexpr const char* kDirFilas = "/kovra/mailslot";

struct NV_MsgQueue;

// Creates the queue and opens it for reading.  A stale socket file left by a
// reader that died (connect refused) is removed and bound again; a live
// reader makes the call fail with 98; a file there that is not a socket is
// left alone and the call fails with 98.
int NV_MsgQueueCreate(NV_MsgQueue** fila, const char* nome);

// Opens an existing queue for writing; fails while no reader has created it
// (the callers retry).
int NV_MsgQueueOpen(NV_MsgQueue** fila, const char* nome);

// Blocks until a whole message is there and copies it into buf (room tam
// bytes); *tam_lido gets its length.  A single-segment message fits only if
// it is at most tam - 4 bytes long.  Type-253 datagrams are skipped.  On any
// failure the bytes placed in buf are zeroed, *tam_lido is 0, and segments
// of the failed message still queued are read by the next call as a message
// of their own.
int NV_MsgQueueRead(NV_MsgQueue* fila, void* buf, size_t tam, size_t* tam_lido);

// Writes one message as segments of at most 16380 bytes; an empty message
// sends nothing.  Never blocks longer than the write bound when the reader's
// queue is full.  Fails once the reader is gone: close and open again.
int NV_MsgQueueWrite(NV_MsgQueue* fila, const void* msg, size_t tam);

// Makes a blocked (or the next) NV_MsgQueueRead on this reader handle
// return 4.  Several wakes before a read count as one.  On success it only
// writes to an eventfd, so a signal handler (an orderly stop on SIGTERM)
// may call it.
int NV_MsgQueueWake(NV_MsgQueue* fila);

// Frees the handle in all cases (a reader's socket file is removed); the
// result is the first error met.  Null gives 22.
int NV_MsgQueueClose(NV_MsgQueue* fila);

// The socket file of a queue name as resolved under the drive root, into
// saida (room bytes): 0 or the name's error (22).
int NV_MsgQueueCaminho(const char* nome, char* saida, size_t room);

// Bounds of the waits, process-wide: how long a write waits for room in a
// full queue (default 2000 ms), and how long a read waits for the next
// segment of a message that has begun (default 2000 ms) before it drops it
// with 74.  Values <= 0 restore the default.
void NV_MsgQueueDefineEsperas(int escrita_ms, int segmento_ms);
// Restores the defaults (tests).
void NV_MsgQueueReinicia();

// Closes a handle when it goes out of scope.
struct NV_FechaMsgQueue {
  void operator()(NV_MsgQueue* fila) const { NV_MsgQueueClose(fila); }
};
using NV_MsgQueuePtr = std::unique_ptr<NV_MsgQueue, NV_FechaMsgQueue>;
