// The host-message state instance, its reset and the builders' accessors.
#include "hostmsg/estado_hostmsg.h"

#include <cstring>

EstadoHostMsgModulo EstadoHostMsg{};

uint32_t& NumSeqRede = EstadoHostMsg.builders.num_seq_rede;

void ReiniciaHostMsg() {
  ReiniciaMsgEnvio();
  ReiniciaMsgResposta();
  EstadoHostMsg.builders = EstadoBuilders{};
}

void DefineCodResposta0610(const char* codigo) {
  std::memset(EstadoHostMsg.builders.cod_resposta_0610, 0,
              sizeof EstadoHostMsg.builders.cod_resposta_0610);
  if (codigo != nullptr) std::memcpy(EstadoHostMsg.builders.cod_resposta_0610, codigo, strnlen(codigo, 2));
}

const RegistroLog& RegistroOriginal() { return EstadoHostMsg.builders.original; }
