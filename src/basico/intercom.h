// The host link: every ISO 8583 message to and from the Tiquetal host goes
// through the drivers' channels (basico/libcomdrivers.h) wrapped in the link
// envelope, then scrambled as a whole (comms/link.h):
//     offset 0  1 byte   kind (0 or 1, the caller's), bit 7 set when the
//                        payload is obfuscated (comms/ofusca.h)
//     offset 1  8 bytes  routing header, the caller's
//     offset 9  n bytes  payload: the ISO 8583 message
// Payloads are sent obfuscated while the last envelope received asked for
// it: one with bit 7 set, or with kind 127; any other kind turns it off.
// Every payload sent is recorded in the audit trail (kind 51) and every
// envelope received, in clear (kind 52).
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr size_t kTamCabecalhoEnvelope = 1;
inline constexpr size_t kTamRoteamentoHost = 8;
inline constexpr size_t kTamEnvelopeHost = kTamCabecalhoEnvelope + kTamRoteamentoHost;   // 9
inline constexpr uint8_t kBitOfuscado = 0x80;
inline constexpr uint8_t kTipoPedeOfuscacao = 127;

// Wraps and queues one host message for CodigoRede; the caller learns
// nothing of the outcome (a failure is written to the message log).
void envia_host(uint8_t tipo, const uint8_t roteamento[kTamRoteamentoHost], const void* payload,
                size_t tam);

// Blocks until a host message arrives and copies its payload into buf (room
// tam, 2048 from the host receiver thread): the payload length.  Envelopes
// shorter than 9 bytes and payloads longer than tam are dropped and the
// wait goes on.  Returns 0 once the reception is closed
// (EncerraRecebeDriver).
size_t recebe_host(uint8_t* buf, size_t tam);

// The obfuscation flag.
bool OfuscacaoHost();
void DefineOfuscacaoHost(bool ligada);

// Seam for tests: with a sink installed, envia_host records the payload and
// hands (kind, routing header, payload) to the sink instead of the drivers.
// Null restores the drivers.
using SumidouroHost = void (*)(uint8_t tipo, const uint8_t* roteamento, const uint8_t* payload,
                               size_t tam);
void DesviaEnvioHost(SumidouroHost sumidouro);

// The pause after a failed or empty receive (tests); <= 0 restores 500 ms.
void DefinePausaRecepcaoHost(int ms);

// Obfuscation off, no sink, default pause (tests).
void ReiniciaInterCom();
