// Product databases for tests: built with the SQLite library from the
// shipped schema (or from a schema of the test's own) under the test's
// drive root, at the path where the registry looks for it.
#pragma once
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "biblkovra/prods/lib_kovprods.h"

// The shipped schema and sample rows.
inline std::string SqlProdutosDistribuido() {
  std::ifstream in(KOV_PRODS_SQL);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Builds the drive's product database from `sql`.
inline void CriaBaseDeTeste(const std::string& sql) {
  std::string erro;
  ASSERT_EQ(CriaBaseProdutos(kArquivoBaseProdutos, sql, &erro), 0) << erro;
}

// Builds it from the shipped schema plus `extra` statements.
inline void CriaBaseDistribuida(const std::string& extra = "") {
  const std::string sql = SqlProdutosDistribuido();
  ASSERT_FALSE(sql.empty()) << "schema not found at " << KOV_PRODS_SQL;
  CriaBaseDeTeste(sql + extra);
}
