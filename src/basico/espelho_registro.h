// The mirror record as it lies in an export file (all integers 16-bit
// little-endian unless noted):
//
//   0   2  length of the rest of the record (total length - 2)
//   2   2  4096
//   4   2  operation: 0 a new record, 1 a rewrite
//   6   2  0
//   8   2  network code of the log
//  10  36  local time of the mirror write: nine 32-bit little-endian
//          integers (seconds, minutes, hours, day of month, month 0-11,
//          years since 1900, day of week, day of year, daylight-saving flag)
//  46   8  date of the log record YYYYMMDD, "0" characters when none
//  54   8  company code, "*" characters when none
//  62   6  NSU, "0" characters when none
//  68   n  the primary record as stored in the log (card number scrambled)
//  68+n m  the secondary record's ranges, concatenated, as stored
#pragma once
#include <cstddef>
#include <cstdint>
#include "basico/espelho.h"

struct CabecalhoEspelho {
  uint8_t Tamanho[2];
  uint8_t Marca[2];
  uint8_t Operacao[2];
  uint8_t Zero[2];
  uint8_t Rede[2];
  uint8_t Hora[36];
  char Data[8];
  char Empresa[8];
  char Nsu[6];
};
static_assert(sizeof(CabecalhoEspelho) == 68);
static_assert(offsetof(CabecalhoEspelho, Tamanho) == 0);
static_assert(offsetof(CabecalhoEspelho, Marca) == 2);
static_assert(offsetof(CabecalhoEspelho, Operacao) == 4);
static_assert(offsetof(CabecalhoEspelho, Zero) == 6);
static_assert(offsetof(CabecalhoEspelho, Rede) == 8);
static_assert(offsetof(CabecalhoEspelho, Hora) == 10);
static_assert(offsetof(CabecalhoEspelho, Data) == 46);
static_assert(offsetof(CabecalhoEspelho, Empresa) == 54);
static_assert(offsetof(CabecalhoEspelho, Nsu) == 62);

inline constexpr uint16_t kMarcaEspelho = 4096;
inline constexpr const char* kDiretorioEspelho = "/kovra/./espelho.log";
inline constexpr const char* kArquivoConfigEspelho = "/kovra/./config/kovra.ini";
// The module's primary record keeps its (scrambled) card number here; the
// copy of a failed record in the audit trail has it masked.
inline constexpr size_t kPosCartaoPrincipalEspelho = 57;
inline constexpr size_t kTamCartaoPrincipalEspelho = 20;

// The local time of an instant as the nine integers of the record.
void HoraEspelho(int64_t epoch_seg, uint8_t saida[36]);

// Builds one record into `saida` (room bytes).  0, or 22 when the record
// would not fit its 16-bit length field or the primary record is missing.
int MontaRegistroEspelho(int operacao, int rede, const char* data, const char* empresa,
                         const char* nsu, const void* principal, size_t tam_principal,
                         const void* secundario, size_t tam_secundario,
                         const FaixasEspelho* faixas, int64_t agora_seg,
                         uint8_t* saida, size_t room, size_t* total);

// The pause between the retries of the open, lock and write (50 ms), which
// tests shorten; and the reset of the writer's set-up (tests).
void DefinePausaEspelho(int ms);
void ReiniciaEspelho();
