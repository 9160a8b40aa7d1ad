// The trace record and its dispatcher.  Every report of the module (message
// log lines, audit records, the run-time's own error reports) is one record
// built on the caller's stack and handed to RegistraTrace, which calls the
// installed handler with a per-thread guard against re-entry.  The handler
// that writes the message log and the audit trail lives in services/ and
// installs itself on first use; until one is installed records are dropped.
#pragma once
#include <cstddef>
#include <cstdint>

// One typed variable of a trace record; records chain them through `prox`.
struct NV_TraceVar {
  const char* tipo;          // "TRACE_ESCREVEMENSAGEM", "TRACE_GRAVAAUDIT",
                             // "NV_TRACEMSG_WIN32", "NV_TRACEMSG_LIBC"
  const NV_TraceVar* prox;
};

// "TRACE_ESCREVEMENSAGEM": one message-log line.
struct NV_TraceVarMensagem {
  NV_TraceVar var;
  const char* texto;
};

// One entry of an audit masking list: a position and a length in the data.
struct MascaraAudit {
  uint16_t pos;
  uint16_t tam;
};

// "TRACE_GRAVAAUDIT": one audit record for the audit writer.
struct NV_TraceVarAudit {
  NV_TraceVar var;
  uint8_t tipo;                // kind byte (0, 49 to 52, 65 to 70)
  const void* dados;
  size_t tam;
  const MascaraAudit* mascaras;
  int num_mascaras;
  int linha;                   // source line, 0 when none
  const char* arquivo;         // source file, may be null
};

// "NV_TRACEMSG_WIN32" / "NV_TRACEMSG_LIBC": a failed system call.
struct NV_TraceVarErro {
  NV_TraceVar var;
  const char* chamada;
  long erro;
};

struct NV_TraceRegistro {
  const char* tag;             // always "NV_TRACEMSG"
  const char* contexto;        // "EscreveMensagem", "GravaAudit", "nvpr/file", ...
  int nivel;                   // 20 message log and audit, 30 run-time errors
  const char* mensagem;        // may be null
  const char* arquivo;         // may be null
  int linha;
  const NV_TraceVar* vars;
};

// Handler of trace records.  Returns 0 or a code.
using NV_TratadorTrace = int (*)(const NV_TraceRegistro* reg);

// Installs the handler that RegistraTrace calls (process-wide; the handler
// of services/ installs itself once, tests may install their own).
void NV_InstalaTratadorTrace(NV_TratadorTrace tratador);
// Removes the installed handler, so records are dropped again (tests).
void NV_TraceReinicia();

// Dispatches one record: 0 when handled, 301 (NV_FINISHED) when dropped
// because the same thread is already inside the dispatcher.
int RegistraTrace(const NV_TraceRegistro* reg);
