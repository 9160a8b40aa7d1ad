// The driver channels of the host link.  For each network number there is a
// pair of bounded in-memory channels, each served by its own thread, so
// that callers never block on the switch's queues:
//   - transmit: EnviaDriver puts a message in; the sender thread writes it
//     to "Kovra/Drivers/TX-<n>", retrying every 250 ms and dropping it once
//     it is 20 seconds old;
//   - receive: the receiver thread reads "Kovra/Drivers/RX-<n>" (creating it
//     again 100 ms after any failure) and puts each message in;
//     RecebeDriver takes them out.
// Each channel holds at most 100 messages and 60000 bytes.
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr int kMaxMsgsCanal = 100;
inline constexpr size_t kTamAnelCanal = 60000;
inline constexpr int kEsperaEnviaDriverMs = 2000;
inline constexpr int kIdadeMaximaTxSeg = 20;
inline constexpr int kIntervaloTxMs = 250;
inline constexpr int kIntervaloRxMs = 100;

// Registers a network number: its channel pair and their two threads.  The
// index of the pair (the existing one for a number registered before), or
// -1 when the pair or a thread could not be had.
int IniciaDrivers(int rede);

// Puts a message in the number's transmit channel, waiting up to 2000 ms
// for room.  The length when queued, 0 when there stayed no room (or the
// channels are stopped), -1 for a number never registered.
int EnviaDriver(int rede, const void* dados, size_t tam);

// Takes the oldest message of the number's receive channel, waiting up to
// espera_ms (-1: no limit).  Its length; 0 when none came, when it was
// longer than tam (it is then dropped), or once the reception is closed;
// -1 for a number never registered.
int RecebeDriver(int rede, void* buf, size_t tam, int espera_ms);

// Orderly stop, in two steps.  EncerraRecebeDriver makes every RecebeDriver
// (blocked or later) return 0.  ParaDrivers also ends the threads: the
// sender writes what its channel still holds, once each, and both close
// their queues.  Both wait for nothing else.
void EncerraRecebeDriver();
bool RecebeDriverEncerrado();
void ParaDrivers();

// Stops everything and forgets every pair (tests).
void ReiniciaDrivers();
