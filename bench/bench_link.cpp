// Link scrambling throughput: EmbaralhaLink + DesembaralhaLink over a
// message, against mbed TLS's plain DES-ECB encrypting and decrypting the
// same bytes, in the same run.  Counters: MB/s of each (message bytes per
// scramble-and-unscramble pair) and their ratio.
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>
#include <mbedtls/des.h>

#include "comms/link.h"
#include "nvpr/nv_time.h"

namespace {

void DesEcb(mbedtls_des_context* ctx, uint8_t* p, size_t n) {
  for (size_t i = 0; i + 8 <= n; i += 8) mbedtls_des_crypt_ecb(ctx, p + i, p + i);
}

void BM_EmbaralhaLink(benchmark::State& state) {
  const size_t n = static_cast<size_t>(state.range(0));
  std::vector<uint8_t> msg(n);
  for (size_t i = 0; i < n; ++i) msg[i] = static_cast<uint8_t>(i * 31);
  const uint8_t chave[8] = {0x4d, 1, 2, 3, 4, 5, 6, 7};
  mbedtls_des_context cifra, decifra;
  mbedtls_des_init(&cifra);
  mbedtls_des_init(&decifra);
  mbedtls_des_setkey_enc(&cifra, chave);
  mbedtls_des_setkey_dec(&decifra, chave);
  TabelaChaveLink();   // built outside the timing

  int64_t ns_link = 0, ns_des = 0;
  for (auto _ : state) {
    const int64_t t0 = NV_RelogioMonotonico();
    EmbaralhaLink(msg.data(), n);
    DesembaralhaLink(msg.data(), n);
    const int64_t t1 = NV_RelogioMonotonico();
    DesEcb(&cifra, msg.data(), n);
    DesEcb(&decifra, msg.data(), n);
    const int64_t t2 = NV_RelogioMonotonico();
    benchmark::DoNotOptimize(msg.data());
    ns_link += t1 - t0;
    ns_des += t2 - t1;
  }
  const double bytes = static_cast<double>(n) * static_cast<double>(state.iterations());
  const double link_mbs = ns_link > 0 ? bytes * 1e3 / static_cast<double>(ns_link) : 0;
  const double des_mbs = ns_des > 0 ? bytes * 1e3 / static_cast<double>(ns_des) : 0;
  state.counters["link_MBps"] = link_mbs;
  state.counters["des_ecb_MBps"] = des_mbs;
  state.counters["ratio"] = des_mbs > 0 ? link_mbs / des_mbs : 0;
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  mbedtls_des_free(&cifra);
  mbedtls_des_free(&decifra);
}

}  // namespace

BENCHMARK(BM_EmbaralhaLink)->Arg(200)->Arg(1500)->Arg(16384);
