// The module process: start-up, its threads, the tick loop and the orderly
// stop.
//
// After Inicializa three threads live until the stop: the main thread ticks
// once a second, RxPdv reads and dispatches PDV requests, RxHost reads host
// messages and hands them to host-response processing.  Each tick, each PDV
// request (with its reply and any host send) and each host message is
// handled whole under MutexGlobal; the blocking reads and the tick's pause
// are outside it.
//
// SIGTERM or SIGINT asks for an orderly stop: the message or tick in hand is
// finished, the threads end, the driver channels write what they hold, the
// queues are closed and the process exits with 0.  A kill without warning
// stays safe: the transaction log carries unfinished work over a restart.
//
// Exit codes: 0 orderly stop; 1 a thread could not be started, the log could
// not be defined or the host link could not be opened; 9 the global mutex
// could not be created; 10 the PDV link failed (basico/interpdv.h); and the
// codes of ParadaFatal (services/depura.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "nvpr/nv_process.h"

inline constexpr int kSaidaThread = 1;
inline constexpr int kSaidaLog = 1;

// The module's threads, joined by the orderly stop.
struct ThreadsModulo {
  NV_Thread tab_estab;
  NV_Thread rx_pdv;
  NV_Thread rx_host;
};
extern ThreadsModulo Threads;

// The start-up sequence.  True when the module is ready to serve; false
// when a stop was asked for while it waited for the switch.  Ends the
// process itself on a fatal condition.
bool Inicializa();

// The whole process: start-up, banner, threads, tick loop, orderly stop.
// The exit status.
int ExecutaModulo();

// One PDV request, as RxPdv handles it under the lock: becomes the current
// message (at most 1500 bytes), today's date is refreshed, and it is
// dispatched.
void ProcessaMsgPdv(const uint8_t* dados, size_t tam);
// One host message, as RxHost handles it under the lock.
void ProcessaMsgHost(const uint8_t* dados, size_t tam);
// One tick's work under the lock: the timeout scan, the daily task, and
// every 61st tick the re-read of BloqueioDaCargaTabela.
void ExecutaTick();

// The thread bodies.
int RxPdv(void*);
int RxHost(void*);
int TabEstab(void*);

// The start-up recovery rule: a record of this network in state 1 (sent,
// no answer seen) gets "00" and state 6 (to be undone) and is rewritten.
int RecuperaRegistroModulo(void* principal, void* secundario, const char* mmdd);

// NumSeqRede's seed from a local time "HH:MM:SS": 980000 + HH x 60 + MM.
uint32_t SementeNumSeqRede(const char* hora);

// The banner texts.
inline constexpr const char* kBannerAtivacao = "Modulo Tiquetal rede 077 ativado";
void FormataTextoNovoDia();
