// Pieces shared by the log operations: the instant of a call, the date an
// NSU and an optional MMDD name, the hand-off to the mirror and the
// read-back comparison.  Internal to the library.
#pragma once
#include <cstdint>

#include "nvpr/nv_time.h"
#include "txlog/saidas_log.h"
#include "txlog/txlog.h"

// Now, in seconds, with its local and GMT breakdowns.
int64_t MomentoAtual(MomentoLog* m);

// The date of a read or rewrite: from the MMDD when given (22 when bad),
// else from the NSU's day (1 for an emergency NSU or a malformed one).
int DataDaLeitura(const char* nsu, const char* mmdd, const NV_DataHora& hoje, int* data);

// Hands a stored record (protected areas scrambled) to the mirror log.
void EnviaEspelho(int operacao, int rede, int data, const char* empresa, const char* nsu,
                  const void* principal, int tam_principal, const void* secundario,
                  int tam_secundario, const FaixasEspelho& faixas);

// Reads the record back with LeLog and compares it with the one written
// (marca 'I' after GravaLog, 'G' after RegravaLog).  0, LeLog's result, or
// -1070, -1071, -1072.
int ComparaGravado(char marca, const char* empresa, const void* principal,
                   const void* secundario, const char* nsu, int data);
