// Condition variables, emulated over a semaphore so that they work with the
// recursive NV_Mutex: a count of waiters not yet woken, a count of wake-ups
// granted but not yet taken, and an internal mutex over both.  Waiters are
// interchangeable, so a wake-up taken by a later waiter leaves an earlier
// one counted as still waiting, and the books always balance: every grant
// is one post of the semaphore and is taken exactly once.
#include <memory>
#include <mutex>

#include "nvpr/nv_error.h"
#include "nvpr/nv_mutex_interno.h"
#include "nvpr/nv_process.h"

struct NV_CondImpl {
  std::mutex m;
  NV_Semaforo sem;
  int esperando = 0;   // waiting, no wake-up granted for them
  int concedidos = 0;  // wake-ups posted and not yet taken
};

namespace {
constexpr int kMaxConcedidos = 0x3fffffff;
}

int NV_CondCreate(NV_Cond* c) {
  if (c == nullptr) return NV_EINVAL;
  auto impl = std::make_unique<NV_CondImpl>();
  int rc = NV_SemaforoCreate(&impl->sem, 0, kMaxConcedidos);
  if (rc != NV_OK) return rc;
  c->impl = impl.release();
  return NV_OK;
}

int NV_CondWait(NV_Cond* c, NV_Mutex* mx, NV_Timeout* t) {
  if (c == nullptr || c->impl == nullptr || mx == nullptr) return NV_EINVAL;
  NV_CondImpl* p = c->impl;
  {
    std::lock_guard<std::mutex> lk(p->m);
    p->esperando++;
  }
  int niveis = 0;
  int rc = NV_MutexLiberaTudo(mx, &niveis);
  if (rc != NV_OK) {
    std::lock_guard<std::mutex> lk(p->m);
    p->esperando--;
    return rc;
  }
  rc = NV_SemaforoWait(&p->sem, NV_TimeoutRestante(t));
  {
    std::lock_guard<std::mutex> lk(p->m);
    if (rc == NV_OK) {
      p->concedidos--;
    } else if (p->esperando > 0) {
      p->esperando--;          // time-out: count one waiter out
      rc = NV_ETIMEDOUT;
    } else {
      // Every waiter inside, this one included, was granted a wake-up just
      // as the wait ran out.  Posts are made under this mutex and each
      // granted waiter takes one, so one is still there for this waiter:
      // take it and report the wake.
      NV_SemaforoWait(&p->sem, 0);
      p->concedidos--;
      rc = NV_OK;
    }
  }
  NV_MutexRetoma(mx, niveis);
  return rc;
}

int NV_CondWaitMs(NV_Cond* c, NV_Mutex* mx, int64_t ms) {
  NV_Timeout t;
  if (ms < 0) NV_TimeoutSemLimite(&t);
  else NV_TimeoutInicia(&t, ms);
  return NV_CondWait(c, mx, &t);
}

namespace {

int Concede(NV_Cond* c, bool todos) {
  if (c == nullptr || c->impl == nullptr) return NV_EINVAL;
  NV_CondImpl* p = c->impl;
  std::lock_guard<std::mutex> lk(p->m);
  int n = todos ? p->esperando : (p->esperando > 0 ? 1 : 0);
  if (n == 0) return NV_OK;
  p->esperando -= n;
  p->concedidos += n;
  return NV_SemaforoPost(&p->sem, n);
}

}  // namespace

int NV_CondSignal(NV_Cond* c) { return Concede(c, false); }
int NV_CondBroadcast(NV_Cond* c) { return Concede(c, true); }

int NV_CondDestroy(NV_Cond* c) {
  if (c == nullptr) return NV_EINVAL;
  std::unique_ptr<NV_CondImpl> dono(c->impl);
  c->impl = nullptr;
  if (dono) NV_SemaforoDestroy(&dono->sem);
  return NV_OK;
}
