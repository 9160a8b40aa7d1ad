// Threads and synchronisation of the run-time: recursive mutexes, once-only
// guards, condition variables with deadline records, threads with copied
// user data, sleeps, time differences, semaphores and per-thread data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <atomic>
#include <mutex>

// ---- Mutexes (recursive) ----
// The owner and depth let an unlock by a thread that does not hold the
// mutex be refused (1) instead of corrupting it, and let a condition wait
// release every level the caller holds.  A static NV_Mutex is initialised
// at compile time (constinit), so it may be locked from any static
// constructor.
struct NV_Mutex {
  std::recursive_mutex m;
  std::atomic<uint64_t> dono{0};   // number of the owning thread, 0 when free
  int profundidade = 0;            // levels held by dono (touched only by the owner)
};
int NV_MutexCreate(NV_Mutex* mx);
int NV_MutexLock(NV_Mutex* mx);
int NV_MutexTryLock(NV_Mutex* mx);    // 16 when another thread holds it
int NV_MutexUnlock(NV_Mutex* mx);    // 1 when the caller does not hold it
int NV_MutexDestroy(NV_Mutex* mx);

// Holds a mutex for a scope.
class NV_Trava {
 public:
  explicit NV_Trava(NV_Mutex* mx) : mx_(mx) { NV_MutexLock(mx_); }
  ~NV_Trava() { NV_MutexUnlock(mx_); }
  NV_Trava(const NV_Trava&) = delete;
  NV_Trava& operator=(const NV_Trava&) = delete;
 private:
  NV_Mutex* mx_;
};

// ---- Once-only guards: 0 not run, 2 running, 1 done ----
using NV_Once = int;
#define NV_ONCE_INIT 0
// 0 the function ran now; 301 it had run before; 35 called again from inside it.
int NV_OnceRun(NV_Once* guarda, void (*funcao)(void*), void* arg);

// ---- Time-out records (deadlines) ----
enum : int { NV_TIMEOUT_SEM_LIMITE = 0, NV_TIMEOUT_NAO_INICIADO = 1, NV_TIMEOUT_INICIADO = 2 };
struct NV_Timeout {
  int64_t ms = 0;
  int estado = NV_TIMEOUT_SEM_LIMITE;
  int64_t inicio = 0;   // monotonic ns of the first wait
};
void NV_TimeoutInicia(NV_Timeout* t, int64_t ms);   // not started, duration ms (< 0 as 0)
void NV_TimeoutSemLimite(NV_Timeout* t);
// Milliseconds left (0 once passed; -1 without limit).  Starts the record.
int64_t NV_TimeoutRestante(NV_Timeout* t);

// ---- Condition variables (emulated over a semaphore).  A wait releases
// every level of the recursive NV_Mutex that the caller holds and takes
// them all again before it returns; 1 when the caller does not hold it. ----
struct NV_CondImpl;
struct NV_Cond {
  NV_CondImpl* impl = nullptr;
};
int NV_CondCreate(NV_Cond* c);
// 0 woken, 110 time-out.  The record is a deadline shared by repeated waits.
int NV_CondWait(NV_Cond* c, NV_Mutex* mx, NV_Timeout* t);
// ms < 0 waits without limit.
int NV_CondWaitMs(NV_Cond* c, NV_Mutex* mx, int64_t ms);
int NV_CondSignal(NV_Cond* c);
int NV_CondBroadcast(NV_Cond* c);
int NV_CondDestroy(NV_Cond* c);

// ---- Threads ----
using NV_FuncaoThread = int (*)(void* dados);
struct NV_ThreadImpl;
struct NV_Thread {
  NV_ThreadImpl* impl = nullptr;
};
// With tam > 0 the user data is copied into the thread's own block, so the
// caller's data may go away.  Without `juntar` the thread is released when it
// ends (the NV_Thread may be discarded).
int NV_ThreadStart(NV_Thread* t, NV_FuncaoThread funcao, const void* dados, size_t tam,
                   bool juntar);
int NV_ThreadJoin(NV_Thread* t, int* resultado);

int NV_Sleep(int64_t ms);

enum : int { NV_UNID_NS = 1, NV_UNID_US = 2, NV_UNID_MS = 3, NV_UNID_S = 4 };
// later - earlier (monotonic ns values) in the unit.
int64_t NV_DiferencaTempo(int64_t anterior, int64_t posterior, int unidade);

// ---- Semaphores ----
struct NV_SemaforoImpl;
struct NV_Semaforo {
  NV_SemaforoImpl* impl = nullptr;
};
int NV_SemaforoCreate(NV_Semaforo* s, int inicial, int maximo);
// ms < 0 waits without limit; 110 on time-out.
int NV_SemaforoWait(NV_Semaforo* s, int64_t ms);
int NV_SemaforoPost(NV_Semaforo* s, int n);   // 75 past the maximum
int NV_SemaforoDestroy(NV_Semaforo* s);

// ---- Per-thread data, created on first need ----
struct NV_DadosThread {
  int trace_reentrada = 0;       // set while inside the trace dispatcher
  uint64_t aleatorio[2] = {0, 0};// the thread's pseudo-random state
  bool aleatorio_semeado = false;
};
// The calling thread's block (never null).
NV_DadosThread* NV_DadosDaThread();
