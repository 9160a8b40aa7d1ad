// The one source of time: the wall clock and the monotonic clock, with the
// test controls that freeze and advance them.  Local time follows TZ (read
// again at each conversion, so a test or an operator may change it).
#include "nvpr/nv_time.h"

#include <atomic>
#include <ctime>

namespace {

// Clock state.  All fields are atomics: any thread may read the clock while
// a test moves it.
struct EstadoRelogio {
  std::atomic<bool> fixo{false};         // wall clock frozen at fixo_ms
  std::atomic<int64_t> fixo_ms{0};
  std::atomic<int64_t> desvio_ms{0};     // added to the real wall clock
  std::atomic<int64_t> desvio_mono_ns{0};// added to the real monotonic clock
};
EstadoRelogio g_relogio;

int64_t LeRelogio(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void PreencheDataHora(const tm& t, int ms, NV_DataHora* dh) {
  dh->ano = t.tm_year + 1900;
  dh->mes = t.tm_mon + 1;
  dh->dia = t.tm_mday;
  dh->hora = t.tm_hour;
  dh->minuto = t.tm_min;
  dh->segundo = t.tm_sec;
  dh->milisegundo = ms;
  dh->dia_semana = t.tm_wday;
  dh->dia_ano = t.tm_yday;
}

// Seconds and milliseconds of an instant in ms, rounded towards the past.
void DivideMs(int64_t ms, int64_t* seg, int* resto) {
  int64_t s = ms / 1000;
  int64_t r = ms % 1000;
  if (r < 0) {
    r += 1000;
    s -= 1;
  }
  *seg = s;
  *resto = static_cast<int>(r);
}

bool Converte(int64_t epoch_seg, bool utc, tm* t) {
  time_t tt = static_cast<time_t>(epoch_seg);
  if (utc) return gmtime_r(&tt, t) != nullptr;
  tzset();
  return localtime_r(&tt, t) != nullptr;
}

}  // namespace

int64_t NV_AgoraMs() {
  if (g_relogio.fixo.load(std::memory_order_acquire))
    return g_relogio.fixo_ms.load(std::memory_order_acquire);
  return LeRelogio(CLOCK_REALTIME) / 1000000 + g_relogio.desvio_ms.load(std::memory_order_acquire);
}

int64_t NV_AgoraSeg() {
  int64_t s;
  int r;
  DivideMs(NV_AgoraMs(), &s, &r);
  return s;
}

void NV_HoraLocal(NV_DataHora* dh) {
  int64_t s;
  int ms;
  DivideMs(NV_AgoraMs(), &s, &ms);
  NV_ConverteHora(s, false, dh);
  dh->milisegundo = ms;
}

void NV_ConverteHora(int64_t epoch_seg, bool utc, NV_DataHora* dh) {
  tm t{};
  if (!Converte(epoch_seg, utc, &t)) {
    // Outside the representable range: the epoch itself, never garbage.
    Converte(0, true, &t);
  }
  PreencheDataHora(t, 0, dh);
}

int64_t NV_HoraParaEpoch(const NV_DataHora* dh) {
  tm t{};
  t.tm_year = dh->ano - 1900;
  t.tm_mon = dh->mes - 1;
  t.tm_mday = dh->dia;
  t.tm_hour = dh->hora;
  t.tm_min = dh->minuto;
  t.tm_sec = dh->segundo;
  t.tm_isdst = -1;
  tzset();
  return static_cast<int64_t>(mktime(&t));
}

int NV_FormataHoraLocal(char* buf, int room, const char* formato) {
  if (buf == nullptr || room <= 0) return 0;
  buf[0] = '\0';
  if (formato == nullptr) return 0;
  tm t{};
  if (!Converte(NV_AgoraSeg(), false, &t)) return 0;
  size_t n = strftime(buf, static_cast<size_t>(room), formato, &t);
  if (n == 0) buf[0] = '\0';
  return static_cast<int>(n);
}

int64_t NV_RelogioMonotonico() {
  return LeRelogio(CLOCK_MONOTONIC) + g_relogio.desvio_mono_ns.load(std::memory_order_acquire);
}

void NV_RelogioFixa(int64_t epoch_ms) {
  g_relogio.fixo_ms.store(epoch_ms, std::memory_order_release);
  g_relogio.fixo.store(true, std::memory_order_release);
}

void NV_RelogioAvanca(int64_t ms) {
  if (ms <= 0) return;   // clocks never move backwards
  constexpr int64_t kMaxAvanco = INT64_MAX / 4000000;   // keeps the ns sums in range
  if (ms > kMaxAvanco) ms = kMaxAvanco;
  if (g_relogio.fixo.load(std::memory_order_acquire))
    g_relogio.fixo_ms.fetch_add(ms, std::memory_order_acq_rel);
  else
    g_relogio.desvio_ms.fetch_add(ms, std::memory_order_acq_rel);
  g_relogio.desvio_mono_ns.fetch_add(ms * 1000000, std::memory_order_acq_rel);
}

// The wall clock returns to the system's; the monotonic clock keeps what it
// was advanced by, because a monotonic clock must never go back (running
// deadlines would stretch).
void NV_RelogioReal() {
  g_relogio.fixo.store(false, std::memory_order_release);
  g_relogio.desvio_ms.store(0, std::memory_order_release);
}
