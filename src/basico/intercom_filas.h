// The names of the switch queues of one network: the PDV link's request and
// reply queues and the drivers' transmit and receive queues, each ending in
// the network number in base 36 (digits, then lower-case letters, no
// leading zeros, at most 4 characters): with 77 they end in "25".
#pragma once
#include <cstddef>

enum FilaRede : int {
  FILA_PDV_PEDIDOS = 0,    // "Kovra/queues/pdvwr.": the PDVs write, the module reads
  FILA_PDV_RESPOSTAS,      // "Kovra/queues/pdvrd.": the module writes, the switch reads
  FILA_DRIVER_TX,          // "Kovra/Drivers/TX-": the module writes, the drivers read
  FILA_DRIVER_RX,          // "Kovra/Drivers/RX-": the drivers write, the module reads
};

// Room for any of these names and its NUL.
inline constexpr size_t kTamNomeFilaRede = 32;

// The queue's name for network `rede` into saida (room bytes): 0, or 22 for
// an unknown queue, a number outside 0 to 1679615 (4 base-36 digits) or too
// little room.
int NomeFilaRede(int fila, int rede, char* saida, size_t room);
