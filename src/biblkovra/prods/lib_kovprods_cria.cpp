// Building a product database file from an SQL text: the schema and rows
// that sandbox drives and tests start from.  The file is built under a
// temporary name in one transaction and then renamed into place, so a
// failure never leaves a half-built database where the registry looks.
#include <sqlite3.h>

#include "biblkovra/prods/lib_kovprods.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_path.h"

namespace {

// Closes the connection when the build leaves scope.
class ConexaoNova {
 public:
  ~ConexaoNova() {
    if (db != nullptr) sqlite3_close_v2(db);
  }
  sqlite3* db = nullptr;
};

std::string DiretorioDe(const std::string& caminho) {
  size_t fim = caminho.find_last_of("/\\");
  return fim == std::string::npos ? std::string() : caminho.substr(0, fim);
}

int Executa(sqlite3* db, const char* sql, std::string* erro) {
  char* msg = nullptr;
  int rc = sqlite3_exec(db, sql, nullptr, nullptr, &msg);
  if (rc != SQLITE_OK) *erro = msg != nullptr ? msg : sqlite3_errstr(rc);
  sqlite3_free(msg);
  return rc;
}

int ConstroiArquivo(const char* real, const std::string& sql, std::string* erro) {
  ConexaoNova con;
  int rc = sqlite3_open_v2(real, &con.db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    *erro = con.db != nullptr ? sqlite3_errmsg(con.db) : sqlite3_errstr(rc);
    return rc;
  }
  rc = Executa(con.db, "BEGIN", erro);
  if (rc == SQLITE_OK) rc = Executa(con.db, sql.c_str(), erro);
  if (rc == SQLITE_OK) rc = Executa(con.db, "COMMIT", erro);
  return rc;
}

}  // namespace

int CriaBaseProdutos(const char* caminho, const std::string& sql, std::string* erro) {
  std::string motivo;
  if (erro == nullptr) erro = &motivo;
  if (caminho == nullptr || *caminho == '\0') {
    *erro = "no database path";
    return SQLITE_MISUSE;
  }
  if (ExisteArquivo(caminho)) {
    *erro = "the database file already exists";
    return SQLITE_CANTOPEN;
  }
  std::string dir = DiretorioDe(caminho);
  if (!dir.empty() && !ExisteArquivo(dir.c_str())) NV_CriaDiretorio(dir.c_str(), true);

  const std::string temporario = std::string(caminho) + ".novo";
  NV_Remove(temporario.c_str(), true);
  char real[4096];
  if (NV_ResolveCaminho(temporario.c_str(), real, sizeof real) != 0) {
    *erro = "the database path is too long";
    return SQLITE_CANTOPEN;
  }
  int rc = ConstroiArquivo(real, sql, erro);
  if (rc == SQLITE_OK && NV_Renomeia(temporario.c_str(), caminho, NV_RENOMEIA_NAO_SUBSTITUI) != 0) {
    *erro = "the database file could not be put in place";
    rc = SQLITE_CANTOPEN;
  }
  if (rc != SQLITE_OK) NV_Remove(temporario.c_str(), true);
  return rc;
}
