// Pseudo-random numbers: one xorshift128+ generator per thread, kept in the
// thread data and seeded on first use from both clocks, the thread's
// identity and a process-wide counter (so two threads started in the same
// instant still differ).  Not for keys.
#include "nvpr/nv_random.h"

#include <atomic>
#include <functional>
#include <thread>

#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"

namespace {

constexpr char kAlfabeto[] =
    "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
static_assert(sizeof(kAlfabeto) - 1 == 63);

std::atomic<uint64_t> g_semeaduras{0};

uint64_t SplitMix(uint64_t* x) {
  uint64_t z = (*x += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

uint64_t Proximo() {
  NV_DadosThread* dt = NV_DadosDaThread();
  uint64_t* s = dt->aleatorio;
  if (!dt->aleatorio_semeado) {
    uint64_t x = static_cast<uint64_t>(NV_RelogioMonotonico()) ^
                 (static_cast<uint64_t>(NV_AgoraMs()) << 20) ^
                 (static_cast<uint64_t>(std::hash<std::thread::id>{}(std::this_thread::get_id())) *
                  0x9e3779b97f4a7c15ULL) ^
                 (g_semeaduras.fetch_add(1, std::memory_order_relaxed) << 48);
    s[0] = SplitMix(&x);
    s[1] = SplitMix(&x);
    if ((s[0] | s[1]) == 0) s[1] = 1;
    dt->aleatorio_semeado = true;
  }
  uint64_t a = s[0];
  const uint64_t b = s[1];
  s[0] = b;
  a ^= a << 23;
  s[1] = a ^ b ^ (a >> 17) ^ (b >> 26);
  return s[1] + b;
}

}  // namespace

uint32_t NV_Aleatorio() { return static_cast<uint32_t>(Proximo() >> 32); }

// Unbiased: values from the incomplete last band are drawn again.
uint32_t NV_AleatorioAte(uint32_t limite) {
  if (limite <= 1) return 0;
  const uint32_t corte = static_cast<uint32_t>(-limite) % limite;  // 2^32 mod limite
  for (;;) {
    uint32_t v = NV_Aleatorio();
    if (v >= corte) return v % limite;
  }
}

void NV_CaracteresAleatorios(char* buf, int n) {
  if (buf == nullptr) return;
  for (int i = 0; i < n; i++) buf[i] = kAlfabeto[NV_AleatorioAte(sizeof(kAlfabeto) - 1)];
}
