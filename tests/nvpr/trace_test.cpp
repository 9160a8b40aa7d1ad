// The trace dispatcher: records dropped without a handler, the handler
// called otherwise, and the per-thread re-entry guard.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_trace.h"

namespace {

NV_TraceRegistro Registro(const char* ctx) {
  return NV_TraceRegistro{"NV_TRACEMSG", ctx, 20, "texto", nullptr, 0, nullptr};
}

struct Dispatcher : ::testing::Test {
  void TearDown() override { NV_TraceReinicia(); }
};

std::atomic<int> g_chamadas{0};
int g_interno = -1;

int Conta(const NV_TraceRegistro*) {
  g_chamadas++;
  return 7;
}

// Traces again from inside the handler, as a failing spool write would.
int Reentra(const NV_TraceRegistro* r) {
  g_chamadas++;
  g_interno = RegistraTrace(r);
  return 0;
}

TEST_F(Dispatcher, WithoutAHandlerRecordsAreDropped) {
  NV_TraceRegistro r = Registro("EscreveMensagem");
  EXPECT_EQ(RegistraTrace(&r), NV_OK);
  EXPECT_EQ(RegistraTrace(nullptr), NV_EINVAL);
}

TEST_F(Dispatcher, CallsTheInstalledHandlerAndReturnsItsResult) {
  g_chamadas = 0;
  NV_InstalaTratadorTrace(Conta);
  NV_TraceRegistro r = Registro("GravaAudit");
  EXPECT_EQ(RegistraTrace(&r), 7);
  EXPECT_EQ(g_chamadas, 1);
  EXPECT_EQ(NV_DadosDaThread()->trace_reentrada, 0);
}

TEST_F(Dispatcher, ATraceFromInsideTheHandlerIsDroppedWith301) {
  g_chamadas = 0;
  g_interno = -1;
  NV_InstalaTratadorTrace(Reentra);
  NV_TraceRegistro r = Registro("EscreveMensagem");
  EXPECT_EQ(RegistraTrace(&r), NV_OK);
  EXPECT_EQ(g_interno, NV_FINISHED);
  EXPECT_EQ(g_chamadas, 1);
  // The flag is cleared: the next record is handled again.
  EXPECT_EQ(RegistraTrace(&r), NV_OK);
  EXPECT_EQ(g_chamadas, 2);
}

// While one thread is inside the handler another thread still traces.
std::atomic<bool> g_dentro{false};
std::atomic<bool> g_solta{false};
int Segura(const NV_TraceRegistro* r) {
  if (r->linha == 1) {
    g_dentro = true;
    while (!g_solta) std::this_thread::yield();
  }
  return 0;
}

TEST_F(Dispatcher, TheGuardIsPerThread) {
  g_dentro = false;
  g_solta = false;
  NV_InstalaTratadorTrace(Segura);
  std::thread t([] {
    NV_TraceRegistro r = Registro("EscreveMensagem");
    r.linha = 1;
    RegistraTrace(&r);
  });
  while (!g_dentro) std::this_thread::yield();
  NV_TraceRegistro r = Registro("EscreveMensagem");
  EXPECT_EQ(RegistraTrace(&r), NV_OK);
  g_solta = true;
  t.join();
}

}  // namespace
