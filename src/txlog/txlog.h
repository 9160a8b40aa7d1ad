// The transaction log library: the day files of fixed slots shared with the
// switch's other processes, the NSUs it hands out, and the operations on
// them (define, append, read by NSU, the establishment index, rewrite in
// place, forward and backward scans of one day, start-up recovery).
//
// Every operation returns an integer: 0 for success, otherwise one of the
// codes below, a positive run-time file code (nvpr/nv_error.h) or the
// negative of one when a log file could neither be opened nor created.
// Company codes, terminal identities and NSUs are fixed-width texts (8, 8 and
// 6 characters, no terminator needed); a date argument is the text MMDD, or
// null for none.  Record buffers are as long as the lengths given to
// DefineLog (RegistroLog and RegistroLogSecundario for the module).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "basico/espelho.h"
#include "nvpr/nv_file.h"
#include "txlog/registro_log.h"

// ---- Result codes ----
enum : int {
  LOG_OK = 0,
  LOG_NAO_EXISTE = 1,          // no such record, NSU of another day, no date from the NSU
  LOG_FIM_VARREDURA = 2,       // ProximoLog: end of the file
  LOG_DATA_INVALIDA = 22,      // the MMDD argument is not a valid month and day
  LOG_ARQUIVO_CURTO = 61,      // a log file shorter than one record (reported as -61)
  LOG_GRAVA_SEM_DEFINICAO = -1000,
  LOG_SEM_TERMINAL = -1001,    // per-terminal log and no terminal identity
  LOG_SEM_NSU = -1010,         // the day's file has no NSU left (slot 90000 or more)
  LOG_LE_SEM_DEFINICAO = -1020,
  LOG_REGRAVA_SEM_DEFINICAO = -1030,
  LOG_RECUPERA_SEM_DEFINICAO = -1040,
  LOG_TAMANHO_INDISPONIVEL = -1050,   // AbreVarreduraLog: file length unknown
  LOG_SEM_MEMORIA_PRINCIPAL = -1070,  // read-back comparison
  LOG_SEM_MEMORIA_COMPLEMENTO = -1071,
  LOG_RELIDO_DIFERENTE = -1072,       // the record read back differs
};

// ---- The log definition ----
// Whether a primary record has a secondary record to be read.
using FiltroSecundarioLog = bool (*)(const void* principal);

struct DefinicaoLog {
  const char* ExtensaoPrincipal;   // at most 3 characters ("dat")
  int TamanhoPrincipal;            // > 0 (214)
  const char* ExtensaoSecundaria;  // at most 3 characters, or null: no secondary files
  int TamanhoSecundario;           // > 0 with an extension (417)
  int PosicaoIndiceSecundario;     // 0 .. TamanhoPrincipal - 4 (209)
  FiltroSecundarioLog FiltroSecundario;  // required with secondary files
  int RedeLog;                     // network code (77)
  int PosicaoProtegida;            // protected area of the primary record (57)
  int TamanhoProtegido;            // its length, above 20 taken as 20 (20)
  int PosicaoProtegidaSecundaria;  // the same for the secondary record (0)
  int TamanhoProtegidoSecundario;  // 0: none
};

// The module's definition: "dat"/214, "077"/417, index at 209, its filter,
// network 77, card number at 57 (20 bytes), no secondary protected area.
void DefinicaoLogModulo(DefinicaoLog* def);
// The module's filter: Rede 77 and CodTrn neither 12 nor 1.
bool FiltroSecundarioModulo(const void* principal);

// Reads the log configuration (conflog.ini, kovracfg.ini, geral.001),
// checks the definition and keeps it.  0, or non-zero when the definition or
// the configuration is invalid.  Must succeed before any other operation.
int DefineLog(const DefinicaoLog* def);

// The ranges of the secondary record that the mirror log carries: (0, n)
// when n > 0, then each pair with a length above 0 and a start inside the
// secondary record, at most 50 in all, each cut at the record's end.
// Replaces the ranges of the previous call; DefineLog clears them.  0, or 22
// when the log has no secondary files defined.
int DefineFaixasEspelho(int n, const FaixaEspelho* pares, size_t num_pares);

// ---- GravaLog output codes ----
// Text values end with a zero byte (the destination needs one byte more);
// fixed values have none.
enum : int {
  LOG_SAIDA_FIM = 0,              // ends the list
  LOG_SAIDA_NSU = 1,              // 6 characters
  LOG_SAIDA_NSU_TEXTO = 2,        // 6 + zero
  LOG_SAIDA_MMDD = 3,             // 4
  LOG_SAIDA_MMDD_TEXTO = 4,       // 4 + zero
  LOG_SAIDA_AAMMDD = 5,           // 6
  LOG_SAIDA_AAMMDD_TEXTO = 6,     // 6 + zero
  LOG_SAIDA_AAAAMMDD = 7,         // 8
  LOG_SAIDA_AAAAMMDD_TEXTO = 8,   // 8 + zero
  LOG_SAIDA_HORA = 9,             // hhmmss, 6
  LOG_SAIDA_HORA_TEXTO = 10,      // 6 + zero
  LOG_SAIDA_MMDDHHMMSS = 11,      // 10
  LOG_SAIDA_ANO_TEXTO = 12,       // YYYY + zero
  LOG_SAIDA_HORA_GMT = 13,        // 6
  LOG_SAIDA_HORA_GMT_TEXTO = 14,  // 6 + zero
  LOG_SAIDA_MMDDHHMMSS_GMT = 15,  // 10
  LOG_SAIDA_NSU_BCD = 16,         // 3 bytes of packed decimal
  LOG_SAIDA_MMDD_BCD = 17,        // 2 bytes
  LOG_SAIDA_HORA_BCD = 18,        // 3 bytes
  LOG_SAIDA_MMDDHHMMSS_BCD = 19,  // 5 bytes
  LOG_SAIDA_NSU_BASE36 = 20,      // 4 characters "0"-"9", "A"-"Z"
  LOG_SAIDA_NSU_BASE36_TEXTO = 21,// 4 + zero
};

// One requested output; a list ends with codigo LOG_SAIDA_FIM.  A null
// destination or an unknown code is skipped.
struct SaidaLog {
  int codigo;
  void* destino;
};

// Appends the record to today's file of the company (creating the day's
// files when needed) and hands out its NSU through the outputs.  The
// destinations receive their values before the records are written, so a
// destination inside `principal` or `secundario` reaches the file.  The
// secondary slot number is stored in the primary record.  On failure the
// destinations and the primary record's slot number are given back as they
// were, so a failed write never hands out its NSU.
int GravaLog(const char* empresa, void* principal, const void* secundario,
             const SaidaLog* saidas);

// Reads the record of an NSU.  Without a date the day is derived from the
// NSU (the current or the previous month).  0 read; 1 no such record or the
// NSU is not of that date; 22 bad MMDD; the negative file error when the
// day's file is missing or shorter than one record; NV_EIO when the slot
// stays short after five reads.
int LeLog(const char* empresa, void* principal, void* secundario, const char* nsu,
          const char* mmdd);

// Registers or refreshes (company, establishment code of 15 characters).
int AssociaEstabelecimento(const char* empresa, const char* estabelecimento);
// 1 when the code is not in the index, else LeLog for the company found.
int LeLogPorEstabelecimento(const char* estabelecimento, void* principal, void* secundario,
                            const char* nsu, const char* mmdd);

// Rewrites the record of an NSU in its own slot.  A secondary record goes to
// the slot named by the primary record's IndiceSecundario, or to a new slot
// (whose number is then stored in `principal`) when that is 0.
int RegravaLog(const char* empresa, void* principal, const void* secundario,
               const char* nsu, const char* mmdd);

// ---- Scans of one company's day file ----
enum : int { LOG_VARREDURA_FRENTE = 0, LOG_VARREDURA_TRAS = 1 };

struct VarreduraLog {
  char empresa[9] = {};
  int data = 0;              // YYYYMMDD of the file
  int direcao = LOG_VARREDURA_FRENTE;
  NV_Arquivo principal;
  NV_Arquivo secundario;
  bool tem_secundario = false;
  int64_t corrente = 0;      // next slot to read
  int64_t ultimo = 0;        // last slot of the primary file
  int64_t primeiro = 1;      // a backward scan ends below this slot
  int64_t slot_lido = -1;    // slot last returned by ProximoLog
  bool leu_secundario = false;  // ProximoLog read a secondary record for it
  // The parts of the definition the scan needs, taken when it is opened.
  DefinicaoLog def{};
  int tam_protegido = 0;
  int tam_protegido_secundario = 0;
  FaixasEspelho faixas{};
  // Primary slots read ahead in one read: slots bloco_inicio onwards.
  std::vector<uint8_t> bloco;
  int64_t bloco_inicio = 0;
  int64_t bloco_slots = 0;
};

// Opens a scan of the company's file of MMDD (this year when the current
// month is MM or later, else last year).  0, the negative file error, 22 for
// a bad MMDD, -1050, or -1020 before DefineLog.
int AbreVarreduraLog(VarreduraLog* v, const char* empresa, const char* mmdd, int direcao);
// 0 and the next record; 2 at the end; 1 on a read error.
int ProximoLog(VarreduraLog* v, void* principal, void* secundario);
// Rewrites the record last returned by ProximoLog: 0, or 1 when it failed.
int RegravaCorrenteLog(VarreduraLog* v, const void* principal, const void* secundario);
int FechaVarreduraLog(VarreduraLog* v);

// ---- Start-up recovery ----
// Bit 15 of the recovery function's result asks for the record to be
// rewritten; the rest equal to 1 ends the walk of that file.
inline constexpr int kRecuperaRegrava = 0x8000;
using FuncaoRecuperaLog = int (*)(void* principal, void* secundario, const char* mmdd);

// Walks the most recent `arquivos_por_diretorio` primary files of every log
// directory forward and calls `funcao` for each slot.  0, or -1040.
int RecuperaPendentesLog(void* principal, void* secundario, int arquivos_por_diretorio,
                         FuncaoRecuperaLog funcao);

// Closes every file and forgets the definition, the open-file table, the
// establishment index and the mirror ranges (tests).
void ReiniciaLog();
