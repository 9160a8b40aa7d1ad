// Console debug output, consistency dumps and the fatal stops.  The console
// trace switch itself is set from KOVTRACE by basico/rot_aux.
#pragma once
#include <cstddef>

// The console trace switch.
bool TraceConsoleLigado();
void DefineTraceConsole(bool ligado);

// With the switch on: the formatted line and "\n" on standard error.
void Depura(const char* formato, ...) __attribute__((format(printf, 1, 2)));
// With the switch on: "%s - tam:%u" (when a title is given), then one
// 79-character line per 16 bytes.
void DepuraHex(const void* dados, size_t tam, const char* titulo);

// Ends the process with code 1 to 9 after writing its message to the
// message log; a code outside 1 to 9 does nothing.
void ParadaFatal(int codigo);
// The message of a fatal code, or null.
const char* MensagemParadaFatal(int codigo);
