// The console trace switch of the module, set at start from the environment
// variable KOVTRACE.  Any value but exactly "OFF" switches it on (so "off"
// in lower case does too); unset leaves it off.  The switch itself and the
// debug output live in services/depura.
#include "basico/rot_aux.h"

#include <cstdlib>
#include <cstring>

#include "services/depura.h"

void IniciaTraceConsole() {
  const char* valor = std::getenv("KOVTRACE");
  const bool ligado = valor != nullptr && std::strcmp(valor, "OFF") != 0;
  const bool antes = TraceConsoleLigado();
  DefineTraceConsole(ligado);
  if (ligado && !antes) Depura("DEBUG %s", "ON");
}
