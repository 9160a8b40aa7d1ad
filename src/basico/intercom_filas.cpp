// The queue names of a network: one format per queue, with the network
// number written in base 36.
#include "basico/intercom_filas.h"

#include <cstdio>

#include "nvpr/nv_error.h"
#include "services/texto.h"

namespace {

constexpr const char* kFormatos[] = {
    "Kovra/queues/pdvwr.%s",
    "Kovra/queues/pdvrd.%s",
    "Kovra/Drivers/TX-%s",
    "Kovra/Drivers/RX-%s",
};
constexpr int kNumFilas = sizeof kFormatos / sizeof kFormatos[0];
constexpr int kMaiorRede = 36 * 36 * 36 * 36 - 1;

}  // namespace

int NomeFilaRede(int fila, int rede, char* saida, size_t room) {
  if (saida == nullptr || room == 0 || fila < 0 || fila >= kNumFilas || rede < 0 ||
      rede > kMaiorRede)
    return NV_EINVAL;
  char numero[8];
  if (IntParaTexto(rede, numero, sizeof numero, 36) != 0) return NV_EINVAL;
  const int n = std::snprintf(saida, room, kFormatos[fila], numero);
  if (n < 0 || static_cast<size_t>(n) >= room) {
    saida[0] = '\0';
    return NV_EINVAL;
  }
  return NV_OK;
}
