// The PDV link: the two switch queues that carry the PDVs' requests to the
// module and its replies back (basico/intercom_filas.h names them), with the
// link scrambling applied to every message both ways and every message
// recorded in the audit trail (kind 50 requests, kind 49 replies), with the
// card numbers typed into them masked (basico/interpdv_mascara.h).
//
// A reply goes out as a frame: the 16-bit routing number (least significant
// byte first), the value of the reply's characters 12 to 14 read as a
// decimal number, followed by the reply; the whole frame is scrambled.
// Requests carry no routing number.
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr size_t kTamBufferPdv = 1500;   // a request is at most 1496 bytes
inline constexpr size_t kTamRotaPdv = 2;
inline constexpr size_t kTamAuditCabecalhoPdv = 30;
inline constexpr int kTentativasRespostaPdv = 20;
inline constexpr int kIntervaloPdvMs = 200;
// Exit status when the link cannot go on (queue not creatable, critical
// read error, no memory for a reply frame).
inline constexpr int kSaidaFalhaLinkPdv = 10;

// Creates the request queue and opens the reply queue, trying every 200 ms
// until the switch's PDV side has created it.  1 once both are open; 0 when
// a stop was asked for while waiting (basico/intercom_parada.h).  A request
// queue that cannot be created ends the process with kSaidaFalhaLinkPdv.
int inicia_comunicacao_pdv(int codigo_rede);

// Blocks until a request arrives, unscrambles it in buf (room tam, always
// 1500) and returns its length.  Notifications, empty, oversized and
// malformed messages are skipped (the last three logged).  Returns 0 once
// the read has been stopped with AcordaLeituraPdv.
size_t LeMsgPdv(uint8_t* buf, size_t tam);

// Sends one reply, making up to 20 attempts 200 ms apart under the link
// mutex and opening the reply queue again after a failed write.  The first
// tam bytes of msg are zero afterwards, whether or not the reply went out.
void EnviaRespostaPdv(uint8_t* msg, size_t tam);

// The routing number of a reply: its characters 12 to 14 as a decimal
// number, stopping at the first that is not a digit (0 when the first is not).
uint16_t RotaRespostaPdv(const uint8_t* msg, size_t tam);

// Makes a blocked (or the next) LeMsgPdv return 0 (orderly stop).
void AcordaLeituraPdv();
// Closes both queues.
void FechaComunicacaoPdv();

// Whether requests are recorded whole in the audit trail, or only their
// first 30 bytes (the mode the link starts in).
void DefineAuditPdvCompleto(bool completo);

// Seam for tests: with a sink installed, EnviaRespostaPdv records the
// reply and hands it to the sink instead of the queue, then zeroes it as
// always.  Null restores the queue.
using SumidouroRespostaPdv = void (*)(const uint8_t* msg, size_t tam);
void DesviaRespostaPdv(SumidouroRespostaPdv sumidouro);

// The attempts and their pause (tests); values <= 0 restore 20 and 200 ms.
void DefineTentativasPdv(int tentativas, int intervalo_ms);

// Closes the queues and forgets every setting (tests).
void ReiniciaInterPdv();
