// Date and time texts of now, read from the run-time's clock (local time),
// and the two rules that put a year on a month and day received without one:
// the next occurrence (ProximaDataAnual) and the past one (DataPassada).
#include "services/datas.h"

#include <cstdio>
#include <cstring>

#include "nvpr/nv_time.h"

namespace {

constexpr const char* kDataNula = "00000000";

// Month and day of a four-digit "MMDD"; false when it is not four digits.
bool LeMesDia(const char* mmdd, int* mes, int* dia) {
  if (mmdd == nullptr) return false;
  for (int i = 0; i < 4; ++i)
    if (mmdd[i] < '0' || mmdd[i] > '9') return false;
  *mes = (mmdd[0] - '0') * 10 + (mmdd[1] - '0');
  *dia = (mmdd[2] - '0') * 10 + (mmdd[3] - '0');
  return true;
}

void EscreveData(int ano, int mes, int dia, char saida[9]) {
  // The year of a four-digit clock; the modulo keeps the text at 8 bytes.
  std::snprintf(saida, 9, "%04d%02d%02d", ((ano % 10000) + 10000) % 10000, mes, dia);
}

}  // namespace

void DataMMDD(char saida[5]) { NV_FormataHoraLocal(saida, 5, "%m%d"); }
void HoraHHMMSS(char saida[7]) { NV_FormataHoraLocal(saida, 7, "%H%M%S"); }
void DataMMDDAA(char saida[9]) { NV_FormataHoraLocal(saida, 9, "%m/%d/%y"); }
void HoraHHMMSSPontos(char saida[9]) { NV_FormataHoraLocal(saida, 9, "%H:%M:%S"); }

void ProximaDataAnual(const char* mmdd, char saida[9]) {
  int mes = 0, dia = 0;
  if (!LeMesDia(mmdd, &mes, &dia)) {
    std::memcpy(saida, kDataNula, 9);
    return;
  }
  NV_DataHora agora{};
  NV_HoraLocal(&agora);
  const bool antes_de_hoje = mes * 100 + dia < agora.mes * 100 + agora.dia;
  EscreveData(agora.ano + (antes_de_hoje ? 1 : 0), mes, dia, saida);
}

void DataPassada(const char* mmdd, char saida[9]) {
  int mes = 0, dia = 0;
  if (!LeMesDia(mmdd, &mes, &dia) || mes < 1 || mes > 12 || dia < 1 || dia > 31) {
    std::memcpy(saida, kDataNula, 9);
    return;
  }
  NV_DataHora agora{};
  NV_HoraLocal(&agora);
  int ano = agora.ano;
  if (mes == 1 && agora.mes == 12) ano += 1;  // January seen in December
  else if (mes > agora.mes) ano -= 1;
  EscreveData(ano, mes, dia, saida);
}
