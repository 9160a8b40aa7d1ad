// The process-wide stop request.  A signal handler asks for the stop with
// PedeParada, which only stores an atomic flag and writes an eventfd (both
// async-signal-safe); every wait of the links and of the tick loop that
// uses EsperaParada then returns at once, so the process can finish what it
// holds and end in order.
#pragma once
#include <cstdint>

// Creates the eventfd; call once before installing the signal handlers.
// Later calls do nothing.  0, or the code of the failed call.
int PreparaParada();
// Asks for the stop.  Safe inside a signal handler.
void PedeParada();
bool ParadaPedida();
// Waits up to ms milliseconds, returning early (true) once a stop has been
// asked for; false when the time passed without one.
bool EsperaParada(int64_t ms);
// Forgets a stop request and closes the eventfd (tests).
void ReiniciaParada();
