// The mirror (export) log.  The mirror writer comes later; until then this
// entry point accepts every record and writes nothing, so the transaction log
// can already hand its records over.
#include "basico/espelho.h"

int GravaEspelho(int, int, const char*, const char*, const char*, const void*, size_t,
                 const void*, size_t, const FaixasEspelho*) {
  return 0;
}
