// Once-only guards.  The guard is an int: 0 not run, 2 running, 1 done.  One
// process-wide mutex guards every state change; a thread that finds a guard
// running on another thread waits for it and gets 301, while a call from
// inside the running function itself (found on this thread's chain of
// running guards) gets 35 at once instead of dead-locking.
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"

namespace {

struct EstadoOnce {
  std::mutex m;
  std::condition_variable terminou;
};
EstadoOnce g_once;

// The guards whose function runs on this thread, innermost first.  Nodes
// live on the stack of NV_OnceRun.
struct OnceEmCurso {
  const NV_Once* guarda;
  const OnceEmCurso* anterior;
};
thread_local const OnceEmCurso* t_em_curso = nullptr;

bool RodandoNestaThread(const NV_Once* g) {
  for (const OnceEmCurso* p = t_em_curso; p != nullptr; p = p->anterior)
    if (p->guarda == g) return true;
  return false;
}

}  // namespace

int NV_OnceRun(NV_Once* guarda, void (*funcao)(void*), void* arg) {
  if (guarda == nullptr || funcao == nullptr) return NV_EINVAL;
  std::atomic_ref<int> estado(*guarda);
  if (estado.load(std::memory_order_acquire) == 1) return NV_FINISHED;
  {
    std::unique_lock<std::mutex> lk(g_once.m);
    for (;;) {
      int v = estado.load(std::memory_order_acquire);
      if (v == 1) return NV_FINISHED;
      if (v == 0) break;
      if (RodandoNestaThread(guarda)) return NV_EDEADLK;
      g_once.terminou.wait(lk);
    }
    estado.store(2, std::memory_order_release);
  }
  OnceEmCurso no{guarda, t_em_curso};
  t_em_curso = &no;
  funcao(arg);
  t_em_curso = no.anterior;
  {
    std::lock_guard<std::mutex> lk(g_once.m);
    estado.store(1, std::memory_order_release);
  }
  g_once.terminou.notify_all();
  return NV_OK;
}
