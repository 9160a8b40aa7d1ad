// Queue round trip: a 200-byte message out through one queue to an echo
// thread and back through a second, against a bare Unix datagram socket
// pair doing the same, in the same run.  Counters: round trips per second,
// p50 and p99 latency in microseconds of each, and the ratio of the rates
// (queue / bare).  The queues live on a temporary drive root.  All three
// threads are pinned to one CPU: otherwise whichever echo thread happens to
// share the caller's CPU wins by the cost of a cross-CPU wake-up, and the
// ratio swings between runs for reasons that have nothing to do with the
// queues.
#include <algorithm>
#include <sched.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "biblkovra/msgqueue.h"
#include "nvpr/nv_time.h"

namespace {

constexpr size_t kTamMsg = 200;

// Pins the calling thread to one CPU (best effort: a failure leaves it free).
void FixaCpu(int cpu) {
  cpu_set_t conjunto;
  CPU_ZERO(&conjunto);
  CPU_SET(cpu, &conjunto);
  sched_setaffinity(0, sizeof conjunto, &conjunto);
}

// A temporary drive root for the benchmark's queues, removed afterwards.
struct DriveBench {
  std::string raiz;
  DriveBench() {
    char modelo[] = "/tmp/kovbench.XXXXXX";
    if (mkdtemp(modelo) == nullptr) std::abort();
    raiz = modelo;
    setenv("KOVRA_DRIVE", raiz.c_str(), 1);
  }
  ~DriveBench() {
    std::error_code ec;
    std::filesystem::remove_all(raiz, ec);
  }
};

// The echo ends.  The queue's stops when woken, the bare one at an empty
// datagram.
void EcoFila(NV_MsgQueue* ida, NV_MsgQueue* volta, int cpu) {
  FixaCpu(cpu);
  std::vector<uint8_t> buf(1500);
  for (;;) {
    size_t n = 0;
    if (NV_MsgQueueRead(ida, buf.data(), buf.size(), &n) != 0) return;
    NV_MsgQueueWrite(volta, buf.data(), n);
  }
}

void EcoCru(int fd, int cpu) {
  FixaCpu(cpu);
  std::vector<uint8_t> buf(1500);
  for (;;) {
    const ssize_t n = recv(fd, buf.data(), buf.size(), 0);
    if (n <= 0) return;
    send(fd, buf.data(), static_cast<size_t>(n), 0);
  }
}

double Percentil(std::vector<int64_t>& v, double p) {
  if (v.empty()) return 0;
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
  std::nth_element(v.begin(), v.begin() + static_cast<long>(i), v.end());
  return static_cast<double>(v[i]) / 1e3;
}

void BM_FilaIdaVolta(benchmark::State& state) {
  DriveBench drive;
  NV_MsgQueue *ida_l = nullptr, *ida_e = nullptr, *volta_l = nullptr, *volta_e = nullptr;
  NV_MsgQueueCreate(&ida_l, "bench/ida");
  NV_MsgQueueCreate(&volta_l, "bench/volta");
  NV_MsgQueueOpen(&ida_e, "bench/ida");
  NV_MsgQueueOpen(&volta_e, "bench/volta");
  // Closed on every way out, the skip included.
  const NV_MsgQueuePtr fecha[] = {NV_MsgQueuePtr(ida_e), NV_MsgQueuePtr(volta_e),
                                  NV_MsgQueuePtr(ida_l), NV_MsgQueuePtr(volta_l)};
  if (ida_l == nullptr || volta_l == nullptr || ida_e == nullptr || volta_e == nullptr) {
    state.SkipWithError("queues could not be opened");
    return;
  }
  cpu_set_t antes;
  sched_getaffinity(0, sizeof antes, &antes);
  const int cpu = std::max(0, sched_getcpu());
  FixaCpu(cpu);
  std::thread eco_fila(EcoFila, ida_l, volta_e, cpu);
  int par[2];
  if (socketpair(AF_UNIX, SOCK_DGRAM, 0, par) != 0) std::abort();
  std::thread eco_cru(EcoCru, par[1], cpu);

  std::vector<uint8_t> msg(kTamMsg, 0x5a), resp(1500);
  std::vector<int64_t> lat_fila, lat_cru;
  for (auto _ : state) {
    size_t n = 0;
    const int64_t t0 = NV_RelogioMonotonico();
    NV_MsgQueueWrite(ida_e, msg.data(), msg.size());
    NV_MsgQueueRead(volta_l, resp.data(), resp.size(), &n);
    const int64_t t1 = NV_RelogioMonotonico();
    send(par[0], msg.data(), msg.size(), 0);
    recv(par[0], resp.data(), resp.size(), 0);
    const int64_t t2 = NV_RelogioMonotonico();
    lat_fila.push_back(t1 - t0);
    lat_cru.push_back(t2 - t1);
  }
  NV_MsgQueueWake(ida_l);
  eco_fila.join();
  send(par[0], msg.data(), 0, 0);   // an empty datagram stops the echo
  eco_cru.join();
  close(par[0]);
  close(par[1]);
  sched_setaffinity(0, sizeof antes, &antes);

  int64_t soma_fila = 0, soma_cru = 0;
  for (int64_t v : lat_fila) soma_fila += v;
  for (int64_t v : lat_cru) soma_cru += v;
  const double n = static_cast<double>(lat_fila.size());
  const double taxa_fila = soma_fila > 0 ? n * 1e9 / static_cast<double>(soma_fila) : 0;
  const double taxa_cru = soma_cru > 0 ? n * 1e9 / static_cast<double>(soma_cru) : 0;
  state.counters["queue_msgs_s"] = taxa_fila;
  state.counters["queue_p50_us"] = Percentil(lat_fila, 0.50);
  state.counters["queue_p99_us"] = Percentil(lat_fila, 0.99);
  state.counters["bare_msgs_s"] = taxa_cru;
  state.counters["bare_p50_us"] = Percentil(lat_cru, 0.50);
  state.counters["bare_p99_us"] = Percentil(lat_cru, 0.99);
  state.counters["ratio"] = taxa_cru > 0 ? taxa_fila / taxa_cru : 0;
}

}  // namespace

BENCHMARK(BM_FilaIdaVolta)->Iterations(20000)->UseRealTime();
