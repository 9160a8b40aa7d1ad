// The values GravaLog hands out through its output list: the NSU, the date
// and time of the call in text, fixed, packed-decimal and base-36 forms.
// Internal to the library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "nvpr/nv_time.h"
#include "txlog/txlog.h"

// The instant of one GravaLog: local time, and the time given for the GMT
// outputs (local time shifted by "TimeZone", or local time).
struct MomentoLog {
  NV_DataHora local;
  NV_DataHora gmt;
};

// Bytes a code writes into its destination; 0 for an unknown code.
size_t TamanhoSaida(int codigo);

// Writes the value of one code.
void PreencheSaida(int codigo, void* destino, const char nsu[6], const MomentoLog& m);

// The previous contents of the destinations, to give them back when the
// write fails.
struct CopiaSaidas {
  struct Item {
    void* destino;
    size_t tam;
    uint8_t bytes[16];
  };
  std::vector<Item> itens;
};
void GuardaSaidas(const SaidaLog* saidas, CopiaSaidas* copia);
void RestauraSaidas(const CopiaSaidas& copia);

// Fills every valid output of the list.
void PreencheSaidas(const SaidaLog* saidas, const char nsu[6], const MomentoLog& m);
