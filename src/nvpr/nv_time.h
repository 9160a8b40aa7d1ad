// The one source of time for the whole module: the wall clock (local date
// and time, following TZ) and the monotonic clock.  No other unit reads the
// system clock.  Tests may freeze the wall clock at a chosen instant and
// advance both clocks by hand.
#pragma once
#include <cstdint>

// Broken-down local (or UTC) date and time.
struct NV_DataHora {
  int ano;        // e.g. 2026
  int mes;        // 1 to 12
  int dia;        // 1 to 31
  int hora, minuto, segundo;
  int milisegundo;
  int dia_semana; // 0 Sunday
  int dia_ano;    // 0 to 365
};

// Wall clock: milliseconds since 1970-01-01 UTC.
int64_t NV_AgoraMs();
// Wall clock in seconds since 1970-01-01 UTC.
int64_t NV_AgoraSeg();
// Local date and time of now.
void NV_HoraLocal(NV_DataHora* dh);
// Local (or UTC) broken-down form of an instant in seconds.
void NV_ConverteHora(int64_t epoch_seg, bool utc, NV_DataHora* dh);
// Seconds since the epoch of a local date and time (mktime rules).
int64_t NV_HoraParaEpoch(const NV_DataHora* dh);
// strftime of the local time of now into buf; returns the length.
int NV_FormataHoraLocal(char* buf, int room, const char* formato);

// Monotonic clock in nanoseconds.
int64_t NV_RelogioMonotonico();

// Test control.  NV_RelogioFixa freezes the wall clock at epoch_ms (it moves
// only through NV_RelogioAvanca); NV_RelogioAvanca moves the wall clock (and
// the monotonic clock) forward by ms; NV_RelogioReal returns to the system
// clocks.
void NV_RelogioFixa(int64_t epoch_ms);
void NV_RelogioAvanca(int64_t ms);
void NV_RelogioReal();
