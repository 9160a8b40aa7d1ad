// The trace dispatcher: one process-wide handler pointer, set up once, and
// the per-thread re-entry guard.  A record raised while the same thread is
// already inside the dispatcher (for instance by a failing spool write of
// the handler itself) is dropped with 301, so tracing can never recurse.
// With no handler installed, records are dropped.
#include "nvpr/nv_trace.h"

#include <atomic>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"

namespace {

struct EstadoTrace {
  std::atomic<NV_TratadorTrace> tratador{nullptr};
};
EstadoTrace g_trace;

}  // namespace

void NV_InstalaTratadorTrace(NV_TratadorTrace tratador) {
  g_trace.tratador.store(tratador, std::memory_order_release);
}

void NV_TraceReinicia() { g_trace.tratador.store(nullptr, std::memory_order_release); }

int RegistraTrace(const NV_TraceRegistro* reg) {
  if (reg == nullptr) return NV_EINVAL;
  NV_DadosThread* dt = NV_DadosDaThread();
  if (dt->trace_reentrada) return NV_FINISHED;
  NV_TratadorTrace t = g_trace.tratador.load(std::memory_order_acquire);
  if (t == nullptr) return NV_OK;
  dt->trace_reentrada = 1;
  int rc = t(reg);
  dt->trace_reentrada = 0;
  return rc;
}
