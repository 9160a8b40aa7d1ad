// The driver channels' records and the operations on one channel's ring.
// Internal to basico.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "basico/intercom_filas.h"
#include "basico/libcomdrivers.h"
#include "biblkovra/msgqueue.h"
#include "nvpr/nv_process.h"

enum DirecaoCanal : int { CANAL_TX = 0, CANAL_RX = 1 };

struct DescritorMsgCanal {
  size_t pos;          // offset in the data ring
  size_t tam;
  int64_t entrada_seg; // monotonic whole seconds of its entry
};

struct CanalDriver {
  int direcao = CANAL_TX;
  int rede = 0;
  char nome[kTamNomeFilaRede] = {};
  NV_MsgQueue* fila = nullptr;   // handle of the channel's thread (published under mutex)
  bool reabre = true;            // open or create the queue before the next use

  DescritorMsgCanal msgs[kMaxMsgsCanal] = {};
  int primeira = 0;              // index of the oldest descriptor
  int quantidade = 0;
  std::vector<uint8_t> anel = std::vector<uint8_t>(kTamAnelCanal);
  size_t usados = 0;             // bytes held
  size_t escrita = 0;            // where the next message goes

  NV_Mutex mutex;
  NV_Cond chegou;                // data arrived
  NV_Cond liberou;               // room freed
  int esperando_chegada = 0;
  int esperando_espaco = 0;

  NV_Thread thread;
  bool thread_ativa = false;
  CanalDriver* par = nullptr;    // the other channel of the number
};

struct ParDrivers {
  int rede = 0;
  CanalDriver tx;
  CanalDriver rx;
};

struct EstadoDrivers {
  std::vector<std::unique_ptr<ParDrivers>> pares;
  std::atomic<bool> parando{false};            // the threads end
  std::atomic<bool> recepcao_encerrada{false}; // RecebeDriver returns 0
  NV_Cond pausa;                               // the threads' pauses; broadcast to stop
};

extern EstadoDrivers g_drivers;
// Guards the table of pairs and the pauses.
extern NV_Mutex g_mutex_drivers;

// Results of the ring operations besides 0.
inline constexpr int kCanalParado = -1;

// Puts n bytes in, waiting within espera_ms (-1 no limit) for room: 0,
// NV_ENOBUFS when the wait ran out (after the line on the error output), or
// kCanalParado once the channel stops.
int PoeCanal(CanalDriver* c, const void* dados, size_t n, int espera_ms);

// Takes the oldest message into *buf (grown as needed), waiting within
// espera_ms (-1 no limit) for one: 0 with *n and *entrada_seg, NV_ETIMEDOUT
// when none came, kCanalParado when the channel stops (with `drena`, only
// once it is empty).
int TiraCanal(CanalDriver* c, std::vector<uint8_t>* buf, int espera_ms, bool drena, size_t* n,
              int64_t* entrada_seg);

// Pauses a channel thread for ms, returning early (true) once stopping.
bool PausaDrivers(int ms);

// Monotonic whole seconds.
int64_t SegundosCanal();

// The two thread bodies (data: the CanalDriver).
int ThreadEnvioDrivers(void* dados);
int ThreadRecepcaoDrivers(void* dados);
