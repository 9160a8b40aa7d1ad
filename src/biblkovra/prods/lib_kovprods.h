// The product database side of the brand and product registry: the switch's
// SQLite product database, its connection and its nine prepared statements,
// the three look-ups the module makes with them, and the building of a
// database file from an SQL text (for sandbox drives and tests).
// The connection is opened in SQLite's serialized (thread-safe) mode; the
// registry above still lets one thread at a time use the statements.
#pragma once
#include <array>
#include <cstddef>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// The statements, in the order they are prepared.
enum ComandoProdutos : int {
  kCmdSelIssuer = 0,       // issuer look-up: ids of a network's product code
  kCmdInsEmpresaIfBin,
  kCmdInsIfBin,
  kCmdInsBin,
  kCmdSelCodProdServico,   // switch product code of the ids
  kCmdSelDadosProduto,     // product attributes of the ids
  kCmdDelEmpresaIfBin,
  kCmdDelIfBin,
  kCmdDelBin,
  kNumComandosProdutos
};

// Their SQL text, exactly as the switch's database expects it.
extern const char* const kSqlProdutos[kNumComandosProdutos];

// The open database: a connection and every statement prepared, or nothing.
// Closes itself when it goes out of scope.
struct BaseProdutos {
  sqlite3* db = nullptr;
  std::array<sqlite3_stmt*, kNumComandosProdutos> cmd{};

  BaseProdutos() = default;
  BaseProdutos(const BaseProdutos&) = delete;
  BaseProdutos& operator=(const BaseProdutos&) = delete;
  ~BaseProdutos();
};

// The database file of the switch, from the switch directory "/kovra/.".
inline constexpr const char* kArquivoBaseProdutos = "/kovra/./config/prods/prods.db";

// Opens the database file named by the system path `caminho` (through the
// path layer; a missing file is not created) and prepares the nine
// statements.  0 on success; otherwise the SQLite result code, the base is
// left closed, and the error was printed on standard error as
// "[%s][%s][%d]" (context, database error text or "NULL", code).
int AbreBaseProdutos(BaseProdutos* base, const char* caminho);
// Finalizes the statements and closes the connection (harmless when closed).
void FechaBaseProdutos(BaseProdutos* base);
bool BaseProdutosAberta(const BaseProdutos* base);

// The brand id and the product id of a product, as the database gives them.
struct IdsProduto {
  char bandeira[21];
  char produto[21];
};

// Issuer look-up: the ids of the 3-character product code `codigo` of
// network `rede`.  1 found, 0 no row, a closed base, or a failed step.
int BuscaIdsEmissor(BaseProdutos* base, int rede, const char* codigo, IdsProduto* ids);

// The switch product code of the ids.  1 with *codigo set, 0 no row (or a
// NULL code, or a failed step).
int BuscaCodigoServico(BaseProdutos* base, const IdsProduto& ids, long long* codigo);

// The columns of the product row that the registry reads, found by name
// without regard to case; an absent or NULL column is empty.
enum ColunaProduto : int {
  kColNome = 0,
  kColTipo,
  kColSubtipo,
  kColCriadoPeloUsuario,
  kColTemporario,
  kColBandeiraCriadaPeloUsuario,
  kColPrivateLabel,
  kNumColunasProduto
};
extern const char* const kNomesColunasProduto[kNumColunasProduto];

struct LinhaProduto {
  std::array<std::string, kNumColunasProduto> valor;
};

// The product row of the ids.  1 found, 0 no row or a failed step.
int BuscaLinhaProduto(BaseProdutos* base, const IdsProduto& ids, LinhaProduto* linha);

// Builds a new database file at the system path `caminho` by running the SQL
// text `sql` in one transaction.  The file must not exist yet; on any failure
// nothing is left behind.  0 on success, else a SQLite code (or
// SQLITE_CANTOPEN when the file exists) with the reason in *erro.
int CriaBaseProdutos(const char* caminho, const std::string& sql, std::string* erro);
