// The host-message subsystem's process-wide state in one place: the
// outgoing message, the received message and the builders' state, with one
// reset for tests.  Guarded by the module's global mutex.
#pragma once
#include "hostmsg/estado_builders.h"
#include "hostmsg/iso_envio.h"
#include "hostmsg/iso_resposta.h"

struct EstadoHostMsgModulo {
  EstadoMsgEnvio envio;
  EstadoMsgResposta resposta;
  EstadoBuilders builders;
};

extern EstadoHostMsgModulo EstadoHostMsg;

// Back to the start-up state: empty messages, NumSeqRede at 980000.
void ReiniciaHostMsg();
