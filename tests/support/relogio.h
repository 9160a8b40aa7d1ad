// Freezing the test clock at a local date and time: every test that needs
// "now" to be a given moment sets it here, through the run-time's clock
// control, so that dates, times and day changes are repeatable.
#pragma once
#include "nvpr/nv_time.h"

inline void FixaRelogioLocal(int ano, int mes, int dia, int hora = 0, int minuto = 0,
                             int segundo = 0) {
  NV_DataHora dh{};
  dh.ano = ano;
  dh.mes = mes;
  dh.dia = dia;
  dh.hora = hora;
  dh.minuto = minuto;
  dh.segundo = segundo;
  NV_RelogioFixa(NV_HoraParaEpoch(&dh) * 1000);
}
