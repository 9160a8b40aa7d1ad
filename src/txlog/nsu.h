// The NSU of a log record and the slot it names.  An NSU is six digits
// PPSSSS: SSSS is the slot modulo 10000 and PP carries the day of month of
// the file and the slot's ten-thousand group.  Groups 0 to 2 are the normal
// area (PP = day, day + 31, day + 62); groups 3 to 8 are the emergency area
// (PP 94 to 99), whose NSUs tell no day.  Slots from 90000 up have no NSU.
#pragma once
#include <cstdint>

inline constexpr int64_t kSlotsComNsu = 90000;
inline constexpr int kPrimeiroSlotEmergencia = 30000;

// The NSU of slot `slot` in the file of day of month `dia` (1 to 31) into
// nsu (6 digits and a zero).  0, or -1010 when the slot has no NSU (and for
// a slot below 0 or a day outside 1 to 31).
int NsuDoSlot(int64_t slot, int dia, char nsu[7]);

// The slot an NSU names; *dia gets its day of month, 0 for the emergency
// area.  0, or 1 when the text is not six decimal digits.
int SlotDoNsu(const char* nsu, int64_t* slot, int* dia);

// Whether an NSU belongs to a file of day of month `dia`: emergency NSUs
// always do; on day 31 PP must be a multiple of 31, on any other day
// PP mod 31 must equal the day.
bool NsuDoDia(const char* nsu, int dia);
