// The log record buffers of the module core: the current transaction's
// primary and secondary records (`RegLog`, `RegLogSec`), which the flows fill,
// the request builders complete and GravaLog stores, and a second pair
// (`RegLog2`, `RegLog2Sec`) for the transaction that an undo advice or an undo
// by document concerns, so that the current transaction is not disturbed.
#pragma once
#include "txlog/registro_log.h"

struct BuffersLog {
  RegistroLog atual;
  RegistroLogSecundario atual_sec;
  RegistroLog segundo;
  RegistroLogSecundario segundo_sec;
};

extern RegistroLog& RegLog;
extern RegistroLogSecundario& RegLogSec;
extern RegistroLog& RegLog2;
extern RegistroLogSecundario& RegLog2Sec;

// Clears the current pair (start of every PDV request).
void LimpaRegistrosLog();
