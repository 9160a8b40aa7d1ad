// The module core's process-wide records, grouped in one state with a reset
// for tests: the PDV transaction record, the company being processed and the
// log record buffers of the current transaction.  All are guarded by the
// module's global mutex.
#pragma once
#include "kovtiquetal/empresa.h"
#include "kovtiquetal/registros_log.h"
#include "kovtiquetal/transacao_pdv.h"

struct EstadoRegistros {
  DadosTransacaoPdv transacao;
  RegistroEmpresa* empresa_atual;
  BuffersLog log;
};

extern EstadoRegistros Registros;

// Clears every record and forgets the current company.
void ReiniciaRegistros();
