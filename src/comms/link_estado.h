// The link scrambling's process-wide state: the key table and the DES key
// schedules of its eight DES positions, built once.  Internal to comms/.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include <mbedtls/des.h>

#include "comms/link.h"

// Table offsets that are DES keys: 0, 64, ..., 448.
inline constexpr size_t kPassoDesLink = 64;
inline constexpr size_t kNumChavesDesLink = kTamTabelaChaveLink / kPassoDesLink;

struct EstadoLink {
  std::mutex trava;                 // serialises building and resetting
  std::atomic<bool> construida{false};
  uint8_t tabela[kTamTabelaChaveLink] = {};
  mbedtls_des_context cifra[kNumChavesDesLink];     // encryption schedules
  mbedtls_des_context decifra[kNumChavesDesLink];   // decryption schedules
  int estado_chave = 0;
  char motivo[256] = {};
};

// The built state (builds it on first call).
EstadoLink& LinkConstruido();
