// The mirror (export) log's entry point.  The transaction log hands every
// record it writes or rewrites to GravaEspelho, outside its own mutex and
// file lock; when the switch's "GeraEspelhoLog" is on, the mirror appends one
// record to the day's export file under "/kovra/./espelho.log".
#pragma once
#include <cstddef>

// One range (start, length) of the secondary record carried by the mirror.
struct FaixaEspelho {
  int inicio;
  int tamanho;
};

inline constexpr int kMaxFaixasEspelho = 50;

// The ranges set by DefineFaixasEspelho, already checked and cut to the
// secondary record's length.
struct FaixasEspelho {
  int quantidade;
  FaixaEspelho faixas[kMaxFaixasEspelho];
};

enum : int { ESPELHO_NOVO = 0, ESPELHO_REGRAVACAO = 1 };

// operacao: ESPELHO_NOVO (GravaLog) or ESPELHO_REGRAVACAO.  rede: network
// code of the log.  data: YYYYMMDD (8 characters) or null.  empresa: company
// code (8 characters) or null.  nsu: 6 characters or null.  principal: the
// primary record as stored in the log (protected area scrambled), of
// tam_principal bytes.  secundario: the secondary record as stored, of
// tam_secundario bytes, or null when none takes part; faixas: its ranges to
// carry (none when null or empty).  Returns 0 or the error that stopped the
// mirror write; the log operation goes on whatever it returns.
int GravaEspelho(int operacao, int rede, const char* data, const char* empresa,
                 const char* nsu, const void* principal, size_t tam_principal,
                 const void* secundario, size_t tam_secundario, const FaixasEspelho* faixas);
