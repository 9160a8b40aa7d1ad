// Pseudo-random numbers from the calling thread's own generator, seeded from
// the clock and the thread on first use.  Not for keys.
#pragma once
#include <cstdint>

uint32_t NV_Aleatorio();
// A number in 0 .. limite-1.
uint32_t NV_AleatorioAte(uint32_t limite);
// n characters from "_0-9A-Za-z" into buf (no terminator).
void NV_CaracteresAleatorios(char* buf, int n);
