// Pieces shared by the log operations: the instant of a call, the date an
// NSU and an optional MMDD name, the file and slot of an NSU, the write of
// a record pair under the file lock, the hand-off to the mirror and the
// read-back comparison.  Internal to the library.
#pragma once
#include <cstdint>
#include <vector>

#include "nvpr/nv_time.h"
#include "txlog/estado_log.h"
#include "txlog/saidas_log.h"
#include "txlog/txlog.h"

// Now, in seconds, with its local and GMT breakdowns.
int64_t MomentoAtual(MomentoLog* m);

// The date of a read or rewrite: from the MMDD when given (22 when bad),
// else from the NSU's day (1 for an emergency NSU or a malformed one).
int DataDaLeitura(const char* nsu, const char* mmdd, const NV_DataHora& hoje, int* data);

// The files and primary slot of an NSU for a read or a rewrite, with
// g_mutex_log held: the date (DataDaLeitura), the day's files (never
// created), the check that the NSU belongs to that date, and its slot.  Slot
// 0 of every file is its header, so an NSU that names it has no record (1).
int LocalizaNsu(const char* empresa, const char* nsu, const char* mmdd, const NV_DataHora& hoje,
                int64_t agora, int* data, ArquivoAbertoLog** arquivos, int64_t* slot);

// What an append or a rewrite leaves for the steps after the lock: the
// records as stored and the parts of the definition those steps need.
struct RegistrosGravados {
  char nsu[7];
  int data;                      // YYYYMMDD of the file
  bool com_secundario;
  std::vector<uint8_t> principal, secundario;
  FaixasEspelho faixas;
  int rede, tam, tam_s;
  bool compara;
};

// With g_mutex_log held and the primary file locked: writes the primary
// record into `slot` and, when g->com_secundario, the secondary record into
// `slot_s`, each with its protected area scrambled in a copy and flushed.
int GravaRegistros(ArquivoAbertoLog* a, int64_t slot, const void* principal, int64_t slot_s,
                   const void* secundario, RegistrosGravados* g);

// After the lock and the mutex are released: hands the stored records to
// the mirror, then, when "ComparaRegistroGravado" is on, reads the record
// back and compares it with the caller's (marca 'I' or 'G'); 0 or the
// comparison's result.
int ConcluiGravacao(int operacao, char marca, const char* empresa, const void* principal,
                    const void* secundario, const RegistrosGravados& g);

// Hands a stored record (protected areas scrambled) to the mirror log.
void EnviaEspelho(int operacao, int rede, int data, const char* empresa, const char* nsu,
                  const void* principal, int tam_principal, const void* secundario,
                  int tam_secundario, const FaixasEspelho& faixas);

// Reads the record back with LeLog and compares it with the one written
// (marca 'I' after GravaLog, 'G' after RegravaLog).  0, LeLog's result, or
// -1070, -1071, -1072.
int ComparaGravado(char marca, const char* empresa, const void* principal,
                   const void* secundario, const char* nsu, int data);
