// The stop request: an atomic flag and an eventfd that poll() can wait on.
// The handler side touches only lock-free atomics and write(2).
#include "basico/intercom_parada.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"

namespace {

struct EstadoParada {
  std::atomic<bool> pedida{false};
  std::atomic<int> evento{-1};
};
EstadoParada g_parada;
NV_Mutex g_mutex_parada;

static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

int PreparaParada() {
  NV_Trava trava(&g_mutex_parada);
  if (g_parada.evento.load() >= 0) return NV_OK;
  const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) return NV_FALHA_LIBC("kovra/parada", "eventfd", errno);
  g_parada.evento.store(fd);
  return NV_OK;
}

void PedeParada() {
  g_parada.pedida.store(true);
  const int fd = g_parada.evento.load();
  if (fd >= 0) {
    const int salvo = errno;
    const uint64_t um = 1;
    ssize_t r = write(fd, &um, sizeof um);
    (void)r;
    errno = salvo;
  }
}

bool ParadaPedida() { return g_parada.pedida.load(); }

bool EsperaParada(int64_t ms) {
  if (ParadaPedida()) return true;
  if (ms <= 0) return false;
  PreparaParada();
  const int fd = g_parada.evento.load();
  if (fd < 0) {
    NV_Sleep(ms);
    return ParadaPedida();
  }
  pollfd p{fd, POLLIN, 0};
  const int espera = ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
  // A signal interrupts the wait: the flag then tells whether it was ours.
  poll(&p, 1, espera);
  return ParadaPedida();
}

void ReiniciaParada() {
  NV_Trava trava(&g_mutex_parada);
  g_parada.pedida.store(false);
  const int fd = g_parada.evento.exchange(-1);
  if (fd >= 0) close(fd);
}
