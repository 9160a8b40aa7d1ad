// What the request builders keep between fields and builds: the network
// management sequence number `NumSeqRede` (field 11 of the undo advice), the
// fuel continuation that field 62 leaves for field 120, the original record
// that a cancellation's field 2 finds for fields 22 and 90, and the answer
// code that the 0600 handling chose for the 0610.
#pragma once
#include <cstddef>
#include <cstdint>

#include "txlog/registro_log.h"

inline constexpr uint32_t kNumSeqRedeInicio = 980000;
inline constexpr uint32_t kNumSeqRedeMaximo = 999999;
inline constexpr size_t kMaxContinuacaoFuel = 1024;

struct EstadoBuilders {
  uint32_t num_seq_rede = kNumSeqRedeInicio;
  char continuacao[kMaxContinuacaoFuel + 1] = {};
  size_t tam_continuacao = 0;
  RegistroLog original = {};
  char cod_resposta_0610[3] = {};
};

// The module's network-management sequence number.  The start-up seeds it
// (980000 + hours x 60 + minutes); the undo advice sends it and advances it,
// back to 980000 after 999999.
extern uint32_t& NumSeqRede;

// The 2-character answer code of the next 0610 (field 39), worked out from
// the transaction that the host's 0600 asks about.
void DefineCodResposta0610(const char* codigo);

// The original record found by the last cancellation build.
const RegistroLog& RegistroOriginal();
