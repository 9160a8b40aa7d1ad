// The product database connection: opening the switch's SQLite file in
// serialized mode, preparing the nine statements, and closing it all again.
// A failure to open or to prepare closes everything and prints one error
// line, so the registry runs on its built-in tables.
#include "biblkovra/prods/lib_kovprods.h"

#include <sqlite3.h>

#include <cstdio>

#include "nvpr/nv_path.h"

const char* const kSqlProdutos[kNumComandosProdutos] = {
    "SELECT Id_bandeira, Id_produto FROM IF_ISSUER_COD_PROD WHERE IF_Kovra = ? AND Issuer_rede = ?",
    "INSERT INTO EMPRESA_IF_BIN (Id_bandeira, Id_produto, Bin_inferior, Bin_superior, IF_Kovra, "
    "Cod_Empresa) VALUES(?, ?, ?, ?, ?, ?)",
    "INSERT INTO IF_BIN (Id_bandeira, Id_produto, Bin_inferior, Bin_superior, IF_Kovra) "
    "VALUES(?, ?, ?, ?, ?)",
    "INSERT INTO BIN (Id_Bandeira, Id_Produto, Bin_inferior, Bin_superior) VALUES(?, ?, ?, ?)",
    "SELECT Cod_Produto_Servico1 FROM CODPROD_SERVICO1 WHERE Id_bandeira = ? AND id_produto = ?",
    "SELECT Produto.* , Tipo_Subtipo_Prod.Id_Tipo AS tipo, Tipo_Subtipo_Prod.Id_Subtipo AS subtipo, "
    "Bandeira.Criado_pelo_usuario as bandeira_criada_pelo_usuario FROM Produto, Tipo_Subtipo_Prod, "
    "Bandeira WHERE Produto.Id_Bandeira = ? AND Produto.Id_Produto = ? AND Produto.Id_TipoSubTipo = "
    "Tipo_Subtipo_Prod.Id_TipoSubTipo AND Bandeira.Id_Bandeira = Produto.Id_Bandeira",
    "DELETE FROM EMPRESA_IF_BIN WHERE Cod_Empresa = ? AND IF_Kovra = ?",
    "DELETE FROM IF_BIN WHERE IF_Kovra = ?",
    "DELETE FROM BIN",
};

namespace {

// A busy database (the switch writing it) is waited for this long at most,
// so that a look-up never holds the module up for longer.
constexpr int kEsperaOcupadoMs = 500;

void ImprimeErroBase(const char* contexto, sqlite3* db, int codigo) {
  const char* texto = db != nullptr ? sqlite3_errmsg(db) : nullptr;
  std::fprintf(stderr, "[%s][%s][%d]\n", contexto, texto != nullptr ? texto : "NULL", codigo);
}

void ImprimeErroAbertura(sqlite3* db, int rc) {
  char contexto[32];
  std::snprintf(contexto, sizeof contexto, "prods.rc[%d]", rc);
  ImprimeErroBase(contexto, db, rc);
}

}  // namespace

BaseProdutos::~BaseProdutos() { FechaBaseProdutos(this); }

void FechaBaseProdutos(BaseProdutos* base) {
  for (auto& c : base->cmd) {
    if (c != nullptr) sqlite3_finalize(c);
    c = nullptr;
  }
  if (base->db != nullptr) sqlite3_close_v2(base->db);
  base->db = nullptr;
}

bool BaseProdutosAberta(const BaseProdutos* base) { return base->db != nullptr; }

int AbreBaseProdutos(BaseProdutos* base, const char* caminho) {
  FechaBaseProdutos(base);
  if (sqlite3_threadsafe() == 0) {
    std::fprintf(stderr, "[prods.rc[%d]][SQLite sem suporte a threads][%d]\n", SQLITE_MISUSE,
                 SQLITE_MISUSE);
    return SQLITE_MISUSE;
  }
  char real[4096];
  if (caminho == nullptr || NV_ResolveCaminho(caminho, real, sizeof real) != 0) {
    ImprimeErroAbertura(nullptr, SQLITE_CANTOPEN);
    return SQLITE_CANTOPEN;
  }
  // The database belongs to the switch: the module only reads it and never
  // creates it.
  int rc = sqlite3_open_v2(real, &base->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    ImprimeErroAbertura(base->db, rc);
    FechaBaseProdutos(base);
    return rc;
  }
  sqlite3_busy_timeout(base->db, kEsperaOcupadoMs);
  for (int i = 0; i < kNumComandosProdutos; ++i) {
    rc = sqlite3_prepare_v2(base->db, kSqlProdutos[i], -1, &base->cmd[i], nullptr);
    if (rc != SQLITE_OK) {
      ImprimeErroBase(kSqlProdutos[i], base->db, sqlite3_errcode(base->db));
      FechaBaseProdutos(base);
      return rc;
    }
  }
  return 0;
}
