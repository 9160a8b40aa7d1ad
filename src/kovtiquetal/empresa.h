// The company records: `ConfigEmpresa`, the company's 688-byte configuration
// record as the switch stores it in its .cnf file; `RegistroEstab`, its
// establishment code and receipt option; and `RegistroEmpresa`, one entry of
// the company table with its establishment tables and table-load state.
// `EmpresaAtual` points at the entry being processed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "txlog/registro_log.h"

// The .cnf record, read whole as raw bytes.  Only the named fields are used;
// the reserved bytes are carried unchanged.  16-bit values are little-endian.
struct ConfigEmpresa {
  uint8_t Versao[2];             //   0: record version; below 272 is rejected
  uint8_t Reservado2[14];        //   2
  uint8_t SegundosResposta[2];   //  16: seconds to wait for a host answer
  char LayoutComprovante[8];     //  18: receipt layout word
  uint8_t Reservado26[2];        //  26
  char BlocoTerminal[72];        //  28: terminal configuration block for the PDV
  uint8_t Reservado100[160];     // 100
  uint8_t NumEntradas[2];        // 260: number of 50-byte entries that follow
  uint8_t Entradas[5][50];       // 262: entries read by the receipts
  uint8_t NumParcelas[2];        // 512: configured number of instalments
  uint8_t ValorTerminal514[2];   // 514: sent in the terminal configuration
  uint8_t ByteTerminal516;       // 516: sent in the terminal configuration
  uint8_t ByteTerminal517;       // 517
  uint8_t ByteTerminal518;       // 518
  uint8_t Reservado519[169];     // 519 .. 687
};
static_assert(sizeof(ConfigEmpresa) == 688);
static_assert(offsetof(ConfigEmpresa, Versao) == 0);
static_assert(offsetof(ConfigEmpresa, Reservado2) == 2);
static_assert(offsetof(ConfigEmpresa, SegundosResposta) == 16);
static_assert(offsetof(ConfigEmpresa, LayoutComprovante) == 18);
static_assert(offsetof(ConfigEmpresa, Reservado26) == 26);
static_assert(offsetof(ConfigEmpresa, BlocoTerminal) == 28);
static_assert(offsetof(ConfigEmpresa, Reservado100) == 100);
static_assert(offsetof(ConfigEmpresa, NumEntradas) == 260);
static_assert(offsetof(ConfigEmpresa, Entradas) == 262);
static_assert(offsetof(ConfigEmpresa, NumParcelas) == 512);
static_assert(offsetof(ConfigEmpresa, ValorTerminal514) == 514);
static_assert(offsetof(ConfigEmpresa, ByteTerminal516) == 516);
static_assert(offsetof(ConfigEmpresa, ByteTerminal517) == 517);
static_assert(offsetof(ConfigEmpresa, ByteTerminal518) == 518);
static_assert(offsetof(ConfigEmpresa, Reservado519) == 519);

struct RegistroEstab {
  char CodigoEstabelecimento[16];   // 15 characters, space-padded, and a zero
  int32_t HabilitaTicketReduzido;   // 1: reduced receipt
};

// The six establishment tables, in the order of the counts.
enum TabelaEstab : int {
  kTabFaixas = 0,
  kTabProdutos,
  kTabTrnHabilitadas,
  kTabProdutosFuel,
  kTabAids,
  kTabCaKeys,
  kNumTabelasEstab
};

// Company states.
enum : uint8_t { kEmpresaAberta = 1, kEmpresaInicializando = 3, kEmpresaIndisponivel = 5 };

struct RegistroEmpresa {
  uint16_t FormatoMsg = 0;
  char Codigo[9] = {};                      // 8 characters and a zero
  uint8_t Estado = 0;                       // 1 open, 3 initialising, 5 unavailable
  std::unique_ptr<ConfigEmpresa> Config;
  std::unique_ptr<RegistroEstab> Estab;
  int32_t Recebidos[kNumTabelasEstab] = {}; // entries received during a table load
  int32_t Contagens[kNumTabelasEstab] = {}; // entries of the establishment tables
  std::vector<char> Tabelas[kNumTabelasEstab];
  char Tags[102] = {};                      // chip tag list, its zero, then spaces
  uint16_t TamTags = 0;
  char BlocoChaves[80] = {};                // card-data key material
  int32_t EstadoCarga = 0;                  // table-load state 0 to 4
  int32_t DataUltimaInicializacao = 0;
  int32_t HorarioUltimaInicializacao = 0;
  char VersaoTabela[7] = {};                // default "000000"
  uint32_t HoraInicializacao = 0;           // seconds, last 0800 sent
  char CodProcessamentoCarga[7] = {};       // processing code of the last 0810
  std::vector<char> ProdutosFuel;           // the company's fuel product list
  int32_t NumProdutosFuel = 0;
  int32_t TemFuelCtrl2 = 0;
};

// Table-load state: the host answered a part and more parts follow.
inline constexpr int32_t kCargaMaisPartes = 3;

// The company being processed (null when none).
extern RegistroEmpresa*& EmpresaAtual;
