// Field 90, the original data elements, as the cancellation and the undo
// advice send it: message type (4), NSU (6), date MMDD (4), time hhmmss (6),
// acquirer (11) and eleven "0", 42 characters.  Each part is right-aligned
// and zero-filled in its width; a part wider than its width is refused (6).
#pragma once
#include "hostmsg/iso_campos.h"

int EnviaDadosOriginais(const Campo& c, const char* tipo, const char* nsu, const char* data,
                        const char* hora, const char* adquirente);
