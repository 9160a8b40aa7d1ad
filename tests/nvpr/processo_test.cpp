// Threads and synchronisation: recursive mutexes, once guards, condition
// variables with deadline records, semaphores, threads with copied data,
// time differences and per-thread data.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"

namespace {

// Runs f on another thread and returns its result.
template <typename F>
int NoutraThread(F f) {
  int r = -1;
  std::thread t([&] { r = f(); });
  t.join();
  return r;
}

TEST(Mutex, LockedTwiceAndUnlockedTwiceIsFree) {
  NV_Mutex mx;
  ASSERT_EQ(NV_MutexCreate(&mx), NV_OK);
  ASSERT_EQ(NV_MutexLock(&mx), NV_OK);
  ASSERT_EQ(NV_MutexLock(&mx), NV_OK);
  EXPECT_EQ(NV_MutexTryLock(&mx), NV_OK);   // the owner may take it again
  EXPECT_EQ(NoutraThread([&] { return NV_MutexTryLock(&mx); }), NV_EBUSY);
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_OK);
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_OK);
  EXPECT_EQ(NoutraThread([&] { return NV_MutexTryLock(&mx); }), NV_EBUSY);
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_OK);
  EXPECT_EQ(NoutraThread([&] {
              int r = NV_MutexTryLock(&mx);
              if (r == NV_OK) NV_MutexUnlock(&mx);
              return r;
            }),
            NV_OK);
  EXPECT_EQ(NV_MutexDestroy(&mx), NV_OK);
}

// A static mutex is ready before any constructor runs.
constinit NV_Mutex g_estatico;

TEST(Mutex, StaticMutexNeedsNoCreation) {
  EXPECT_EQ(NV_MutexLock(&g_estatico), NV_OK);
  EXPECT_EQ(NV_MutexUnlock(&g_estatico), NV_OK);
}

TEST(Mutex, UnlockByAThreadThatDoesNotHoldItIsRefused) {
  NV_Mutex mx;
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_EPERM);
  NV_MutexLock(&mx);
  EXPECT_EQ(NoutraThread([&] { return NV_MutexUnlock(&mx); }), NV_EPERM);
  EXPECT_EQ(NV_MutexDestroy(&mx), NV_EBUSY);
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_OK);
  {
    NV_Trava t(&mx);
    EXPECT_EQ(NoutraThread([&] { return NV_MutexTryLock(&mx); }), NV_EBUSY);
  }
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_EPERM);
}

// ---- once ----
struct Reentrada {
  NV_Once guarda = NV_ONCE_INIT;
  int execucoes = 0;
  int interno = -1;
  bool chegou_ao_fim = false;
};

void Reentra(void* p) {
  auto* r = static_cast<Reentrada*>(p);
  r->execucoes++;
  r->interno = NV_OnceRun(&r->guarda, Reentra, r);
  r->chegou_ao_fim = true;
}

TEST(Once, RunsOnceAndReentryGets35) {
  Reentrada r;
  EXPECT_EQ(NV_OnceRun(&r.guarda, Reentra, &r), NV_OK);
  EXPECT_EQ(r.execucoes, 1);
  EXPECT_EQ(r.interno, NV_EDEADLK);
  EXPECT_TRUE(r.chegou_ao_fim);
  EXPECT_EQ(r.guarda, 1);
  EXPECT_EQ(NV_OnceRun(&r.guarda, Reentra, &r), NV_FINISHED);
  EXPECT_EQ(r.execucoes, 1);
  EXPECT_EQ(NV_OnceRun(nullptr, Reentra, &r), NV_EINVAL);
}

struct Lenta {
  std::atomic<bool> dentro{false};
  std::atomic<bool> solta{false};
  std::atomic<int> execucoes{0};
};

void Lento(void* p) {
  auto* l = static_cast<Lenta*>(p);
  l->execucoes++;
  l->dentro = true;
  while (!l->solta) std::this_thread::yield();
}

TEST(Once, ASecondThreadWaitsForTheFirstAndGets301) {
  NV_Once g = NV_ONCE_INIT;
  Lenta l;
  int r1 = -1;
  std::thread t1([&] { r1 = NV_OnceRun(&g, Lento, &l); });
  while (!l.dentro) std::this_thread::yield();
  std::atomic<int> r2{-1};
  std::thread t2([&] { r2 = NV_OnceRun(&g, Lento, &l); });
  NV_Sleep(20);
  EXPECT_EQ(r2.load(), -1) << "the second caller must wait for the first";
  l.solta = true;
  t1.join();
  t2.join();
  EXPECT_EQ(r1, NV_OK);
  EXPECT_EQ(r2.load(), NV_FINISHED);
  EXPECT_EQ(l.execucoes, 1);
}

// ---- time-out records and condition variables ----
struct Cond : ::testing::Test {
  NV_Mutex mx;
  NV_Cond c;
  void SetUp() override { ASSERT_EQ(NV_CondCreate(&c), NV_OK); }
  void TearDown() override {
    NV_CondDestroy(&c);
    NV_RelogioReal();
  }
};

TEST_F(Cond, TimeoutRecordIsADeadline) {
  NV_Timeout t;
  NV_TimeoutInicia(&t, 100);
  EXPECT_EQ(t.estado, NV_TIMEOUT_NAO_INICIADO);
  EXPECT_EQ(NV_TimeoutRestante(&t), 100);
  EXPECT_EQ(t.estado, NV_TIMEOUT_INICIADO);
  NV_RelogioAvanca(60);
  const int64_t resta = NV_TimeoutRestante(&t);
  EXPECT_LE(resta, 40);
  EXPECT_GE(resta, 0);
  NV_RelogioAvanca(50);
  EXPECT_EQ(NV_TimeoutRestante(&t), 0);
  NV_TimeoutSemLimite(&t);
  EXPECT_EQ(NV_TimeoutRestante(&t), -1);
  NV_TimeoutInicia(&t, -5);
  EXPECT_EQ(NV_TimeoutRestante(&t), 0);
}

TEST_F(Cond, WaitTimesOutWith110AndKeepsTheMutex) {
  NV_MutexLock(&mx);
  EXPECT_EQ(NV_CondWaitMs(&c, &mx, 5), NV_ETIMEDOUT);
  EXPECT_EQ(NoutraThread([&] { return NV_MutexTryLock(&mx); }), NV_EBUSY);
  NV_MutexUnlock(&mx);
  EXPECT_EQ(NV_CondWaitMs(&c, &mx, 5), NV_EPERM);   // the caller must hold it
}

TEST_F(Cond, AWaitAfterAWakeWaitsOnlyForWhatIsLeft) {
  // A 100 ms record; the first wait is woken "at 60 ms" (the clock is moved
  // on by 60 ms before the wake); the second wait then has at most 40 ms.
  NV_Timeout t;
  NV_TimeoutInicia(&t, 100);
  std::atomic<bool> esperando{false};
  std::thread acorda([&] {
    while (!esperando) std::this_thread::yield();
    NV_MutexLock(&mx);   // the waiter has released it: it is in the wait
    NV_RelogioAvanca(60);
    NV_CondSignal(&c);
    NV_MutexUnlock(&mx);
  });
  NV_MutexLock(&mx);
  esperando = true;
  EXPECT_EQ(NV_CondWait(&c, &mx, &t), NV_OK);
  acorda.join();
  const int64_t resta = NV_TimeoutRestante(&t);
  EXPECT_LE(resta, 40);
  const int64_t antes = NV_RelogioMonotonico();
  EXPECT_EQ(NV_CondWait(&c, &mx, &t), NV_ETIMEDOUT);
  EXPECT_LE(NV_DiferencaTempo(antes, NV_RelogioMonotonico(), NV_UNID_MS), 40 + 1000)
      << "a generous bound: the wait must not start the 100 ms again";
  EXPECT_EQ(NV_TimeoutRestante(&t), 0);
  NV_MutexUnlock(&mx);
}

TEST_F(Cond, RecursivelyHeldMutexIsReleasedForTheWait) {
  NV_MutexLock(&mx);
  NV_MutexLock(&mx);
  bool pronto = false;
  std::thread sinal([&] {
    NV_MutexLock(&mx);   // possible only while the waiter waits
    pronto = true;
    NV_CondSignal(&c);
    NV_MutexUnlock(&mx);
  });
  while (!pronto) ASSERT_EQ(NV_CondWaitMs(&c, &mx, -1), NV_OK);
  sinal.join();
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_OK);
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_OK);
  EXPECT_EQ(NV_MutexUnlock(&mx), NV_EPERM);
}

TEST_F(Cond, BroadcastWakesEveryWaiterAndAWakeWithoutWaitersIsLost) {
  EXPECT_EQ(NV_CondSignal(&c), NV_OK);   // nobody waits: nothing is kept
  NV_MutexLock(&mx);
  EXPECT_EQ(NV_CondWaitMs(&c, &mx, 1), NV_ETIMEDOUT);
  NV_MutexUnlock(&mx);

  constexpr int kN = 4;
  int acordados = 0;
  bool liberado = false;
  int esperando = 0;
  std::thread ts[kN];
  for (auto& t : ts)
    t = std::thread([&] {
      NV_Trava tr(&mx);
      esperando++;
      while (!liberado) NV_CondWaitMs(&c, &mx, -1);
      acordados++;
    });
  for (;;) {
    NV_Trava tr(&mx);
    if (esperando == kN) {
      liberado = true;
      NV_CondBroadcast(&c);
      break;
    }
  }
  for (auto& t : ts) t.join();
  EXPECT_EQ(acordados, kN);
}

TEST_F(Cond, ManyProducersAndConsumersLoseNoWake) {
  constexpr int kItens = 2000;
  int fila = 0, consumidos = 0;
  auto consome = [&] {
    NV_Trava tr(&mx);
    for (;;) {
      while (fila == 0 && consumidos < kItens) NV_CondWaitMs(&c, &mx, 50);
      if (consumidos >= kItens) return;
      fila--;
      consumidos++;
      if (consumidos == kItens) NV_CondBroadcast(&c);
    }
  };
  auto produz = [&] {
    for (int i = 0; i < kItens / 2; i++) {
      NV_Trava tr(&mx);
      fila++;
      NV_CondSignal(&c);
    }
  };
  std::thread c1(consome), c2(consome), p1(produz), p2(produz);
  p1.join();
  p2.join();
  c1.join();
  c2.join();
  EXPECT_EQ(consumidos, kItens);
  EXPECT_EQ(fila, 0);
}

// ---- semaphores ----
TEST(Semaforo, CountsAndLimits) {
  NV_Semaforo s;
  EXPECT_EQ(NV_SemaforoCreate(&s, 3, 2), NV_EINVAL);
  EXPECT_EQ(NV_SemaforoCreate(&s, -1, 2), NV_EINVAL);
  ASSERT_EQ(NV_SemaforoCreate(&s, 1, 2), NV_OK);
  EXPECT_EQ(NV_SemaforoWait(&s, 0), NV_OK);
  EXPECT_EQ(NV_SemaforoWait(&s, 1), NV_ETIMEDOUT);
  EXPECT_EQ(NV_SemaforoPost(&s, 2), NV_OK);
  EXPECT_EQ(NV_SemaforoPost(&s, 1), NV_EOVERFLOW);
  EXPECT_EQ(NV_SemaforoPost(&s, 0), NV_EINVAL);
  EXPECT_EQ(NV_SemaforoWait(&s, -1), NV_OK);
  EXPECT_EQ(NV_SemaforoWait(&s, INT64_MAX), NV_OK);   // no overflow in the clock arithmetic
  std::thread t([&] { NV_SemaforoPost(&s, 1); });
  EXPECT_EQ(NV_SemaforoWait(&s, -1), NV_OK);
  t.join();
  EXPECT_EQ(NV_SemaforoDestroy(&s), NV_OK);
  EXPECT_EQ(NV_SemaforoWait(&s, 0), NV_EINVAL);
}

// ---- threads ----
struct Bloco {
  char texto[32];
  NV_Semaforo* comeca;
};

int LeBloco(void* p) {
  auto* b = static_cast<Bloco*>(p);
  NV_SemaforoWait(b->comeca, -1);
  return std::strcmp(b->texto, "dados do chamador") == 0 ? 42 : -1;
}

TEST(Thread, CopiedUserDataOutlivesTheCaller) {
  NV_Semaforo comeca;
  ASSERT_EQ(NV_SemaforoCreate(&comeca, 0, 1), NV_OK);
  NV_Thread t;
  {
    Bloco b{};
    std::strcpy(b.texto, "dados do chamador");
    b.comeca = &comeca;
    ASSERT_EQ(NV_ThreadStart(&t, LeBloco, &b, sizeof b, true), NV_OK);
    std::memset(b.texto, 'X', sizeof b.texto);   // the caller's copy goes away
  }
  NV_SemaforoPost(&comeca, 1);
  int r = 0;
  ASSERT_EQ(NV_ThreadJoin(&t, &r), NV_OK);
  EXPECT_EQ(r, 42);
  EXPECT_EQ(t.impl, nullptr);
  EXPECT_EQ(NV_ThreadJoin(&t, &r), NV_EINVAL);
  NV_SemaforoDestroy(&comeca);
}

int Sinaliza(void* p) {
  NV_SemaforoPost(static_cast<NV_Semaforo*>(p), 1);
  return 0;
}

TEST(Thread, DetachedThreadRunsWithoutAJoin) {
  NV_Semaforo fim;
  ASSERT_EQ(NV_SemaforoCreate(&fim, 0, 1), NV_OK);
  NV_Thread t;
  ASSERT_EQ(NV_ThreadStart(&t, Sinaliza, &fim, 0, false), NV_OK);
  EXPECT_EQ(t.impl, nullptr);   // nothing for the caller to keep
  EXPECT_EQ(NV_SemaforoWait(&fim, 10000), NV_OK);
  EXPECT_EQ(NV_ThreadStart(&t, nullptr, nullptr, 0, true), NV_EINVAL);
  EXPECT_EQ(NV_ThreadStart(&t, Sinaliza, nullptr, 4, true), NV_EINVAL);
  NV_Sleep(5);   // let the detached thread free its record before the semaphore goes
  NV_SemaforoDestroy(&fim);
}

TEST(Tempo, DifferencesInEachUnit) {
  const int64_t a = 1000, b = 3'500'001'000LL;
  EXPECT_EQ(NV_DiferencaTempo(a, b, NV_UNID_NS), 3'500'000'000LL);
  EXPECT_EQ(NV_DiferencaTempo(a, b, NV_UNID_US), 3'500'000LL);
  EXPECT_EQ(NV_DiferencaTempo(a, b, NV_UNID_MS), 3'500LL);
  EXPECT_EQ(NV_DiferencaTempo(a, b, NV_UNID_S), 3LL);
  EXPECT_EQ(NV_DiferencaTempo(a, b, 0), 0);
  EXPECT_EQ(NV_DiferencaTempo(a, b, 5), 0);
  EXPECT_EQ(NV_DiferencaTempo(b, a, NV_UNID_MS), -3'500LL);
}

TEST(DadosThread, OneBlockPerThread) {
  NV_DadosThread* meu = NV_DadosDaThread();
  ASSERT_NE(meu, nullptr);
  EXPECT_EQ(NV_DadosDaThread(), meu);
  NV_DadosThread* outro = nullptr;
  std::thread t([&] {
    outro = NV_DadosDaThread();
    EXPECT_EQ(outro->trace_reentrada, 0);
  });
  t.join();
  EXPECT_NE(outro, meu);
}

}  // namespace
