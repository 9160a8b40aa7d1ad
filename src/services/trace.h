// The message log and the audit hand-off, over the trace dispatcher of the
// run-time.  EscreveMensagem spools one operator line as a 264-byte file in
// "/kovra/./tmp" that the switch collects; GravaAudit hands one audit record
// to the audit writer.  Neither ever fails its caller.
#pragma once
#include <cstddef>
#include <cstdint>
#include "nvpr/nv_trace.h"

void EscreveMensagem(const char* texto);
void EscreveMensagemF(const char* formato, ...) __attribute__((format(printf, 1, 2)));

// kind, data, length, masking list and its count, source file and line.
void GravaAudit(uint8_t tipo, const void* dados, size_t tam, const MascaraAudit* mascaras,
                int num_mascaras, const char* arquivo, int linha);

// The audit writer's entry point.  The audit unit installs its writer here;
// until then the records handed over are dropped.
using GravadorAudit = int (*)(const NV_TraceVarAudit* reg);
void InstalaGravadorAudit(GravadorAudit gravador);

// Spool directory and record layout.
inline constexpr const char* kDirSpool = "/kovra/./tmp";
inline constexpr size_t kTamRegistroSpool = 264;

// The operator tools (kovtool, kovsim) send message-log lines to standard
// error instead of the switch's spool: only the module writes the spool.
void MensagensNoConsole(bool ligado);

// Forgets the set-up, the origin name and the installed audit writer, and
// removes the handler from the dispatcher (tests).
void ReiniciaTrace();
