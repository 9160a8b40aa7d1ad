// The NSU of a slot and the slot of an NSU: PP carries the day of month and
// the slot's ten-thousand group, SSSS the slot modulo 10000.
#include "txlog/nsu.h"

#include <cstdio>

int NsuDoSlot(int64_t slot, int dia, char nsu[7]) {
  if (slot < 0 || slot >= kSlotsComNsu || dia < 1 || dia > 31) return -1010;
  const int grupo = static_cast<int>(slot / 10000);
  const int pp = grupo == 0 ? dia : grupo == 1 ? dia + 31 : grupo == 2 ? dia + 62 : 91 + grupo;
  std::snprintf(nsu, 7, "%02d%04d", pp, static_cast<int>(slot % 10000));
  return 0;
}

// PP and SSSS of a six-digit NSU; false when it is not six digits, or when
// PP is 0, which no slot of any day gives (day 0 would otherwise read as 31).
static bool PartesNsu(const char* nsu, int* pp, int* ssss) {
  if (nsu == nullptr) return false;
  int v = 0;
  for (int i = 0; i < 6; i++) {
    if (nsu[i] < '0' || nsu[i] > '9') return false;
    v = v * 10 + (nsu[i] - '0');
  }
  *pp = v / 10000;
  *ssss = v % 10000;
  return *pp != 0;
}

int SlotDoNsu(const char* nsu, int64_t* slot, int* dia) {
  int pp = 0, ssss = 0;
  if (!PartesNsu(nsu, &pp, &ssss)) return 1;
  const int grupo = pp < 32 ? 0 : pp <= 62 ? 1 : pp <= 93 ? 2 : pp - 91;
  *slot = 10000 * static_cast<int64_t>(grupo) + ssss;
  *dia = pp > 93 ? 0 : (pp - 1) % 31 + 1;
  return 0;
}

bool NsuDoDia(const char* nsu, int dia) {
  int pp = 0, ssss = 0;
  if (!PartesNsu(nsu, &pp, &ssss)) return false;
  if (pp > 93) return true;
  if (dia == 31) return pp % 31 == 0;
  return pp % 31 == dia;
}
