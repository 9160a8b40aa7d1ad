// The three look-ups of the product database: the issuer look-up (ids of a
// network's product code), the switch product code of the ids, and the
// product row of the ids with its columns found by name.  Each statement is
// reset and its bindings cleared when the look-up ends, whatever the outcome.
#include <sqlite3.h>

#include <cstring>

#include "biblkovra/prods/lib_kovprods.h"
#include "services/depura.h"
#include "services/texto.h"

const char* const kNomesColunasProduto[kNumColunasProduto] = {
    "nome",       "tipo", "subtipo", "criado_pelo_usuario", "temporario", "bandeira_criada_pelo_usuario",
    "privatelabel",
};

namespace {

// Readies a statement for its next use when the look-up leaves scope.
class UsoComando {
 public:
  explicit UsoComando(sqlite3_stmt* s) : s_(s) {}
  ~UsoComando() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  UsoComando(const UsoComando&) = delete;
  UsoComando& operator=(const UsoComando&) = delete;

 private:
  sqlite3_stmt* s_;
};

sqlite3_stmt* Comando(BaseProdutos* base, ComandoProdutos qual) {
  if (base == nullptr || base->db == nullptr) return nullptr;
  return base->cmd[qual];
}

// One step: true with a row.  A failure other than "no row" goes to the
// console trace and counts as no row.
bool PassoComLinha(BaseProdutos* base, sqlite3_stmt* s, const char* contexto) {
  int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) Depura("%s: [%s][%d]", contexto, sqlite3_errmsg(base->db), rc);
  return false;
}

// Copies a text column; false when it is NULL or does not fit.
bool CopiaColuna(sqlite3_stmt* s, int col, char* destino, size_t room) {
  const unsigned char* v = sqlite3_column_text(s, col);
  if (v == nullptr) return false;
  size_t n = static_cast<size_t>(sqlite3_column_bytes(s, col));
  if (n == 0 || n >= room) return false;
  std::memcpy(destino, v, n);
  destino[n] = '\0';
  return true;
}

bool LigaIds(sqlite3_stmt* s, const IdsProduto& ids) {
  return sqlite3_bind_text(s, 1, ids.bandeira, -1, SQLITE_TRANSIENT) == SQLITE_OK &&
         sqlite3_bind_text(s, 2, ids.produto, -1, SQLITE_TRANSIENT) == SQLITE_OK;
}

// A whole decimal text (no sign, at most 18 digits) into *valor.
bool TextoDecimal(const unsigned char* t, long long* valor) {
  if (t == nullptr || *t == '\0') return false;
  long long v = 0;
  int n = 0;
  for (; *t != '\0'; ++t, ++n) {
    if (*t < '0' || *t > '9' || n >= 18) return false;
    v = v * 10 + (*t - '0');
  }
  *valor = v;
  return true;
}

}  // namespace

int BuscaIdsEmissor(BaseProdutos* base, int rede, const char* codigo, IdsProduto* ids) {
  sqlite3_stmt* s = Comando(base, kCmdSelIssuer);
  if (s == nullptr || codigo == nullptr) return 0;
  UsoComando uso(s);
  if (sqlite3_bind_int(s, 1, rede) != SQLITE_OK ||
      sqlite3_bind_text(s, 2, codigo, static_cast<int>(strnlen(codigo, 3)), SQLITE_TRANSIENT) !=
          SQLITE_OK)
    return 0;
  if (!PassoComLinha(base, s, "IF_ISSUER_COD_PROD")) return 0;
  IdsProduto lidos{};
  if (!CopiaColuna(s, 0, lidos.bandeira, sizeof lidos.bandeira) ||
      !CopiaColuna(s, 1, lidos.produto, sizeof lidos.produto))
    return 0;
  *ids = lidos;
  return 1;
}

int BuscaCodigoServico(BaseProdutos* base, const IdsProduto& ids, long long* codigo) {
  sqlite3_stmt* s = Comando(base, kCmdSelCodProdServico);
  if (s == nullptr) return 0;
  UsoComando uso(s);
  if (!LigaIds(s, ids) || !PassoComLinha(base, s, "CODPROD_SERVICO1")) return 0;
  switch (sqlite3_column_type(s, 0)) {
    case SQLITE_INTEGER:
      *codigo = sqlite3_column_int64(s, 0);
      return 1;
    case SQLITE_TEXT:
      return TextoDecimal(sqlite3_column_text(s, 0), codigo) ? 1 : 0;
    default:
      return 0;
  }
}

int BuscaLinhaProduto(BaseProdutos* base, const IdsProduto& ids, LinhaProduto* linha) {
  sqlite3_stmt* s = Comando(base, kCmdSelDadosProduto);
  if (s == nullptr) return 0;
  UsoComando uso(s);
  if (!LigaIds(s, ids) || !PassoComLinha(base, s, "Produto")) return 0;
  LinhaProduto lida;
  std::array<bool, kNumColunasProduto> achada{};
  const int colunas = sqlite3_column_count(s);
  for (int c = 0; c < colunas; ++c) {
    const char* nome = sqlite3_column_name(s, c);
    if (nome == nullptr) continue;
    for (int k = 0; k < kNumColunasProduto; ++k) {
      // The first column of a name wins.
      if (achada[k] || ComparaSemCaso(nome, kNomesColunasProduto[k]) != 0) continue;
      achada[k] = true;
      const unsigned char* v = sqlite3_column_text(s, c);
      if (v != nullptr)
        lida.valor[k].assign(reinterpret_cast<const char*>(v),
                             static_cast<size_t>(sqlite3_column_bytes(s, c)));
    }
  }
  *linha = std::move(lida);
  return 1;
}
