// Counting semaphores with a maximum, and the time-out records (deadlines)
// that every bounded wait of the run-time counts down.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"

struct NV_SemaforoImpl {
  std::mutex m;
  std::condition_variable cv;
  int contagem = 0;
  int maximo = 0;
};

void NV_TimeoutInicia(NV_Timeout* t, int64_t ms) {
  t->ms = ms < 0 ? 0 : ms;
  t->estado = NV_TIMEOUT_NAO_INICIADO;
  t->inicio = 0;
}

void NV_TimeoutSemLimite(NV_Timeout* t) {
  t->ms = 0;
  t->estado = NV_TIMEOUT_SEM_LIMITE;
  t->inicio = 0;
}

int64_t NV_TimeoutRestante(NV_Timeout* t) {
  if (t == nullptr || t->estado == NV_TIMEOUT_SEM_LIMITE) return -1;
  int64_t agora = NV_RelogioMonotonico();
  if (t->estado != NV_TIMEOUT_INICIADO) {
    t->estado = NV_TIMEOUT_INICIADO;
    t->inicio = agora;
    return t->ms;
  }
  int64_t passou_ms = (agora - t->inicio) / 1000000;
  return passou_ms >= t->ms ? 0 : t->ms - passou_ms;
}

int NV_SemaforoCreate(NV_Semaforo* s, int inicial, int maximo) {
  if (s == nullptr || maximo <= 0 || inicial < 0 || inicial > maximo) return NV_EINVAL;
  auto impl = std::make_unique<NV_SemaforoImpl>();
  impl->contagem = inicial;
  impl->maximo = maximo;
  s->impl = impl.release();
  return NV_OK;
}

int NV_SemaforoWait(NV_Semaforo* s, int64_t ms) {
  if (s == nullptr || s->impl == nullptr) return NV_EINVAL;
  NV_SemaforoImpl* p = s->impl;
  std::unique_lock<std::mutex> lk(p->m);
  auto livre = [p] { return p->contagem > 0; };
  // Beyond a century the wait is without limit (the clock arithmetic of a
  // longer one would overflow).
  constexpr int64_t kSemLimite = 100LL * 366 * 24 * 3600 * 1000;
  if (ms < 0 || ms > kSemLimite) {
    p->cv.wait(lk, livre);
  } else if (!p->cv.wait_for(lk, std::chrono::milliseconds(ms), livre)) {
    return NV_ETIMEDOUT;
  }
  p->contagem--;
  return NV_OK;
}

int NV_SemaforoPost(NV_Semaforo* s, int n) {
  if (s == nullptr || s->impl == nullptr || n <= 0) return NV_EINVAL;
  NV_SemaforoImpl* p = s->impl;
  {
    std::lock_guard<std::mutex> lk(p->m);
    if (n > p->maximo - p->contagem) return NV_EOVERFLOW;
    p->contagem += n;
  }
  if (n == 1) p->cv.notify_one();
  else p->cv.notify_all();
  return NV_OK;
}

int NV_SemaforoDestroy(NV_Semaforo* s) {
  if (s == nullptr) return NV_EINVAL;
  std::unique_ptr<NV_SemaforoImpl> dono(s->impl);
  s->impl = nullptr;
  return NV_OK;
}
