// The audit writer: one file per network and per day under the directory of
// "/kovra/./config/audit.ini", to which every record that GravaAudit hands
// to the trace dispatcher is appended, masked and enciphered (layout in
// rot_arqs_registro.h).  Its failures never reach the callers: a record
// that cannot be written is dropped, and the console says why.
#pragma once
#include <cstddef>
#include "nvpr/nv_trace.h"

inline constexpr const char* kArquivoConfigAudit = "/kovra/./config/audit.ini";
inline constexpr const char* kDiretorioAuditPadrao = "/kovra/./audit";
inline constexpr int kRedeAuditPadrao = 77;          // the module's own network
inline constexpr int kMaxDiretorioAudit = 259;       // characters
inline constexpr int kEsperaReaberturaAudit = 300;   // seconds between open attempts
inline constexpr int kRegistrosPorControleAudit = 1000;
inline constexpr int kIntervaloFlushAudit = 10;      // seconds

// Installs the writer in the trace dispatcher, reads the configuration and
// the key and opens today's file of the network.  0 when open; 13 the
// network's audit is off or the key file is readable by others; 2 no key
// file; 22 a network outside 0 to 999 or a bad key file; 36 a directory
// name too long; a file code when the file cannot be created.
int AbreAudit(int codigo_rede = kRedeAuditPadrao);

// Appends one record.  0 written; 110 dropped while waiting to retry an
// open; 13 the audit is off; 12 no memory; 14 a short write; 22 a record
// too large for its length field or without data; or the failure of the
// open it needed.
int GravaRegistroAudit(const NV_TraceVarAudit* reg);

// Closes the file and forgets the writer's state and key (tests).
void ReiniciaAudit();
