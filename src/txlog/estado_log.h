// The transaction log's process-wide state: the definition and the
// configuration read by DefineLog, the open-file table, the establishment
// index, the mirror ranges, the day-change memory and the library mutex,
// all in one structure with an explicit reset (ReiniciaLog), and beside it
// the library mutex that guards it.  Internal to the library and its tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "nvpr/nv_file.h"
#include "nvpr/nv_process.h"
#include "txlog/txlog.h"

inline constexpr const char* kArqConfLog = "/kovra/./config/conflog.ini";
inline constexpr const char* kArqKovraCfg = "/kovra/./config/kovracfg.ini";
inline constexpr const char* kArqGeral = "/kovra/./config/geral.001";
inline constexpr size_t kMaxPathLogs = 259;
inline constexpr size_t kTamCaminhoLog = 1024;   // room of every built log path
inline constexpr size_t kPassoTabela = 1000;     // both tables grow by this

// Room for one more entry in a table that grows kPassoTabela entries at a
// time up to `maximo`: true when it has room or could grow; false when it is
// full and may not (or, out of memory, cannot) grow, and the caller must
// make room itself.
template <typename T>
bool CresceTabela(std::vector<T>* tab, size_t maximo) {
  if (tab->size() < tab->capacity()) return true;
  if (tab->size() + kPassoTabela > maximo) return false;
  try {
    tab->reserve(tab->size() + kPassoTabela);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// One open (company, terminal, date) of the open-file table.
struct ArquivoAbertoLog {
  char empresa[9] = {};     // "00000000" when the date is not per company
  char terminal[9] = {};    // empty when not per terminal
  int data = 0;             // YYYYMMDD
  NV_Arquivo principal;
  NV_Arquivo secundario;
  bool tem_secundario = false;
  int64_t ultimo_uso = 0;   // seconds since the epoch
  int64_t ultimo_aviso = 0; // time of the last NSU warning; 0 none yet
};

// One pair of the establishment index.
struct EstabelecimentoLog {
  char codigo[15];
  char empresa[8];
  uint64_t ordem;           // when it was last set, as a running count
};

struct EstadoLog {
  bool definido = false;

  // The definition, with its texts copied.
  DefinicaoLog def{};
  char ext_principal[4] = {};
  char ext_secundaria[4] = {};
  bool tem_secundario = false;
  int tam_protegido = 0;             // after the cap at 20
  int tam_protegido_secundario = 0;

  // The configuration.
  bool compara = false;              // "ComparaRegistroGravado"
  bool gmt = false;                  // "PermiteHorarioGMT" with a valid zone
  int64_t fuso_seg = 0;              // "TimeZone" in seconds
  char raiz[kMaxPathLogs + 1] = {};  // "PathLogsKovra"
  int tipo = 0;                      // "TipoLog" 1 to 5
  bool por_empresa = false, por_rede = false, por_terminal = false;
  int data_inicio = 0;               // "DataInicio" as YYYYMMDD (per company kinds)
  int offset_nsu = 0;                // reserved slots; 0 when "HabilitaOffsetNsu" is off
  bool offset_ligado = false;

  FaixasEspelho faixas{};
  int data_lembrada = 0;             // day change: YYYYMMDD of the remembered date

  std::vector<ArquivoAbertoLog> arquivos;   // sorted by date, company, terminal
  size_t max_arquivos = 10 * kPassoTabela;
  std::vector<EstabelecimentoLog> estabelecimentos;   // sorted by code
  size_t max_estabelecimentos = 100 * kPassoTabela;
  uint64_t contador_estab = 0;

  // Retry policies (tests shorten the waits).
  int tentativas_abertura = 15;
  int intervalo_abertura_ms = 1000;
  int tentativas_trava = 300;
  int intervalo_trava_ms = 50;
  int tentativas_leitura = 5;
  int intervalo_leitura_ms = 100;
  int tentativas_escrita = 5;
};

// Every field is read and changed only with g_mutex_log held.
extern EstadoLog g_log;
extern NV_Mutex g_mutex_log;
