// Recursive mutexes: the owner thread may lock again and must unlock as
// often.  The owner and depth are kept beside the mutex so that an unlock by
// a thread that does not hold it is refused, and so that condition waits can
// release and retake every level.
#include <atomic>
#include <cstdint>

#include "nvpr/nv_error.h"
#include "nvpr/nv_mutex_interno.h"
#include "nvpr/nv_process.h"

namespace {

// Each thread's number, handed out on its first lock (never 0).
std::atomic<uint64_t> g_proxima_thread{1};
thread_local uint64_t t_numero = 0;

uint64_t EstaThread() {
  if (t_numero == 0) t_numero = g_proxima_thread.fetch_add(1, std::memory_order_relaxed);
  return t_numero;
}

// The depth is read only once the owner is known to be this thread, the
// only one that writes it.
bool DonoEEsta(const NV_Mutex* mx) {
  return mx->dono.load(std::memory_order_relaxed) == EstaThread() && mx->profundidade > 0;
}

void Tomou(NV_Mutex* mx) {
  if (mx->profundidade++ == 0) mx->dono.store(EstaThread(), std::memory_order_relaxed);
}

}  // namespace

int NV_MutexCreate(NV_Mutex* mx) {
  if (mx == nullptr) return NV_EINVAL;
  return NV_OK;
}

int NV_MutexLock(NV_Mutex* mx) {
  if (mx == nullptr) return NV_EINVAL;
  mx->m.lock();
  Tomou(mx);
  return NV_OK;
}

int NV_MutexTryLock(NV_Mutex* mx) {
  if (mx == nullptr) return NV_EINVAL;
  if (!mx->m.try_lock()) return NV_EBUSY;
  Tomou(mx);
  return NV_OK;
}

int NV_MutexUnlock(NV_Mutex* mx) {
  if (mx == nullptr) return NV_EINVAL;
  if (!DonoEEsta(mx)) return NV_EPERM;
  if (--mx->profundidade == 0) mx->dono.store(0, std::memory_order_relaxed);
  mx->m.unlock();
  return NV_OK;
}

int NV_MutexDestroy(NV_Mutex* mx) {
  if (mx == nullptr) return NV_EINVAL;
  if (mx->profundidade != 0) return NV_EBUSY;
  return NV_OK;
}

// Releases every level the calling thread holds; the count goes to *niveis.
int NV_MutexLiberaTudo(NV_Mutex* mx, int* niveis) {
  if (mx == nullptr || niveis == nullptr) return NV_EINVAL;
  if (!DonoEEsta(mx)) return NV_EPERM;
  int n = mx->profundidade;
  *niveis = n;
  for (int i = 0; i < n; i++) NV_MutexUnlock(mx);
  return NV_OK;
}

void NV_MutexRetoma(NV_Mutex* mx, int niveis) {
  for (int i = 0; i < niveis; i++) NV_MutexLock(mx);
}
