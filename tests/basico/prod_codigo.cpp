// The switch product code of a network product code: from the database,
// from the built-in tables when the database is missing or has no row, and
// nothing while the registry is not loaded for a network it knows.
#include <string>

#include "basico/prod_fixture.h"
#include "biblkovra/prods_fixture.h"

namespace {

struct CasoCodigo {
  const char* codigo;
  int achou;
  const char* servico;
};

void ConfereCodigos(const CasoCodigo* casos, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(casos[i].codigo);
    char saida[6] = "xxxxx";
    EXPECT_EQ(BuscaCodigoProduto(saida, casos[i].codigo), casos[i].achou);
    EXPECT_STREQ(saida, casos[i].servico);
  }
}

using CodigoProduto = RegistroTeste;

TEST_F(CodigoProduto, WithoutTheDatabaseTheBuiltInTablesAnswerAndTheErrorIsPrintedOnce) {
  Carrega();
  EXPECT_EQ(erros_, "[prods.rc[14]][unable to open database file][14]\n");
  const CasoCodigo casos[] = {
      {"001", 1, "10011"},  // 54/3/1: no row with sub-kind 1, so the brand row 54/3
      {"028", 1, "10055"},  // 54/3/3: the row with the same sub-kind
      {"007", 1, "10011"},
      {"099", 1, "00000"},  // 54/2: the brand-0 default row for kind 2
      {"003", 0, "00000"},  // 54/6: no row
      {"098", 0, "00000"},  // 54/1: no row
      {"050", 0, "00000"},  // not a product of the network
      {"01", 0, "00000"},   {"0011", 0, "00000"}, {"", 0, "00000"},
  };
  ConfereCodigos(casos, std::size(casos));
  char saida[6];
  EXPECT_EQ(BuscaCodigoProduto(saida, nullptr), 0);
  EXPECT_STREQ(saida, "00000");
}

TEST_F(CodigoProduto, TheDatabaseAnswersFirstAndTheTablesWhenItHasNoUsableRow) {
  CriaBaseDistribuida(
      "INSERT INTO IF_ISSUER_COD_PROD VALUES (77, '002', 54, 2), (77, '004', 54, 4);"
      "INSERT INTO CODPROD_SERVICO1 VALUES (54, 2, 123456);");   // does not fit 5 digits
  Carrega();
  EXPECT_EQ(erros_, "");
  const CasoCodigo casos[] = {
      {"001", 1, "10011"}, {"015", 1, "10080"},  // only the database knows 015
      {"050", 1, "30001"},                       // not even a product of the built-in table
      {"002", 1, "10011"},                       // code too long: the tables answer
      {"004", 1, "10011"},                       // issuer row without a code row
      {"099", 1, "00000"}, {"003", 0, "00000"},
  };
  ConfereCodigos(casos, std::size(casos));
}

TEST_F(CodigoProduto, AnUnusableDatabaseLeavesTheBuiltInTables) {
  // The schema lacks a table, so the preparation fails and the file is
  // closed again.
  CriaBaseDistribuida("DROP TABLE Tipo_Subtipo_Prod;");
  Carrega();
  EXPECT_NE(erros_.find("no such table: Tipo_Subtipo_Prod"), std::string::npos) << erros_;
  const CasoCodigo casos[] = {{"015", 0, "00000"}, {"028", 1, "10055"}};
  ConfereCodigos(casos, std::size(casos));
}

TEST_F(CodigoProduto, AnUnknownNetworkOrNoLoadDisablesEveryLookup) {
  CriaBaseDistribuida();
  const CasoCodigo casos[] = {{"001", 0, "00000"}, {"050", 0, "00000"}};
  ConfereCodigos(casos, std::size(casos));   // never loaded

  Carrega(0);
  EXPECT_EQ(erros_, "Codigo IF invalido\n");
  ConfereCodigos(casos, std::size(casos));

  Carrega(55);
  EXPECT_EQ(erros_, "Falha ao carregar as tabelas\n");
  ConfereCodigos(casos, std::size(casos));
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 0);
}

}  // namespace
