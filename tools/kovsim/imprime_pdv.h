// Printing what the module sends the switch's PDV side: the routing
// number, the header fields and each reply field decoded.
#pragma once
#include "sim_comum.h"

// One frame as read from the reply queue (unscrambled): routing number and
// message.  With `hex` the frame's bytes follow.
void ImprimeQuadroPdv(int numero, const Bytes& quadro, bool hex);
