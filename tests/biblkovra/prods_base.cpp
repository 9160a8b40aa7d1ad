// The product database side: opening and preparing against good and bad
// files, the three look-ups, and building a database from SQL text.
#include <sqlite3.h>

#include <array>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "biblkovra/prods/lib_kovprods.h"
#include "biblkovra/prods_fixture.h"
#include "support/drive.h"

namespace {

using Colunas = std::array<std::string, kNumColunasProduto>;

IdsProduto Ids(const char* bandeira, const char* produto) {
  IdsProduto ids{};
  std::snprintf(ids.bandeira, sizeof ids.bandeira, "%s", bandeira);
  std::snprintf(ids.produto, sizeof ids.produto, "%s", produto);
  return ids;
}

TEST(BaseProdutos, OpensTheShippedSchemaAndPreparesEveryStatement) {
  DriveTemp drive;
  CriaBaseDistribuida();
  BaseProdutos base;
  ASSERT_EQ(AbreBaseProdutos(&base, kArquivoBaseProdutos), 0);
  EXPECT_TRUE(BaseProdutosAberta(&base));
  for (auto* c : base.cmd) EXPECT_NE(c, nullptr);
  FechaBaseProdutos(&base);
  EXPECT_FALSE(BaseProdutosAberta(&base));
  for (auto* c : base.cmd) EXPECT_EQ(c, nullptr);
}

struct CasoFalha {
  const char* nome;
  const char* conteudo;   // written as the database file, or null
  const char* sql_extra;  // run after the shipped schema, or null
  const char* contexto;   // expected start of the printed line
};

const CasoFalha kFalhas[] = {
    {"missing file", nullptr, nullptr, "[prods.rc[14]]"},
    {"not a database", "this is not an SQLite file, only text", nullptr, "[SELECT Id_bandeira"},
    {"empty file", "", nullptr, "[SELECT Id_bandeira"},
    {"table missing", nullptr, "DROP TABLE CODPROD_SERVICO1;", "[SELECT Cod_Produto_Servico1"},
    {"column missing", nullptr, "ALTER TABLE EMPRESA_IF_BIN DROP COLUMN Cod_Empresa;",
     "[INSERT INTO EMPRESA_IF_BIN"},
};

TEST(BaseProdutos, FailedOpenOrPreparationClosesAllAndPrintsOneLine) {
  for (const auto& caso : kFalhas) {
    SCOPED_TRACE(caso.nome);
    DriveTemp drive;
    if (caso.conteudo != nullptr) drive.escreve("kovra/config/prods/prods.db", caso.conteudo);
    if (caso.sql_extra != nullptr) CriaBaseDistribuida(caso.sql_extra);
    BaseProdutos base;
    testing::internal::CaptureStderr();
    EXPECT_NE(AbreBaseProdutos(&base, kArquivoBaseProdutos), 0);
    const std::string saida = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(BaseProdutosAberta(&base));
    for (auto* c : base.cmd) EXPECT_EQ(c, nullptr);
    EXPECT_EQ(saida.rfind(caso.contexto, 0), 0u) << saida;
    EXPECT_TRUE(std::regex_match(saida, std::regex(R"(\[.+\]\[.+\]\[[0-9]+\]\n)"))) << saida;
    // The registry never creates the switch's database.
    EXPECT_EQ(drive.existe("kovra/config/prods/prods.db"), caso.conteudo != nullptr || caso.sql_extra != nullptr);
  }
}

TEST(BaseProdutos, LookupsAnswerFromTheRowsAndNothingElse) {
  DriveTemp drive;
  CriaBaseDistribuida();
  BaseProdutos base;
  ASSERT_EQ(AbreBaseProdutos(&base, kArquivoBaseProdutos), 0);

  IdsProduto ids{};
  ASSERT_EQ(BuscaIdsEmissor(&base, 77, "001", &ids), 1);
  EXPECT_STREQ(ids.bandeira, "54");
  EXPECT_STREQ(ids.produto, "1");
  EXPECT_EQ(BuscaIdsEmissor(&base, 77, "099", &ids), 0);
  EXPECT_EQ(BuscaIdsEmissor(&base, 55, "001", &ids), 0);

  long long codigo = 0;
  ASSERT_EQ(BuscaCodigoServico(&base, Ids("54", "28"), &codigo), 1);
  EXPECT_EQ(codigo, 10055);
  EXPECT_EQ(BuscaCodigoServico(&base, Ids("54", "99"), &codigo), 0);

  LinhaProduto linha;
  ASSERT_EQ(BuscaLinhaProduto(&base, Ids("900", "1"), &linha), 1);
  // nome, tipo, subtipo, criado_pelo_usuario, temporario,
  // bandeira_criada_pelo_usuario, privatelabel
  EXPECT_EQ(linha.valor, (Colunas{"FROTA PROPRIA", "6", "0", "1", "0", "1", "1"}));
  EXPECT_EQ(BuscaLinhaProduto(&base, Ids("54", "99"), &linha), 0);

  // The statements are ready again after each use.
  ASSERT_EQ(BuscaIdsEmissor(&base, 77, "028", &ids), 1);
  EXPECT_STREQ(ids.produto, "28");
}

TEST(BaseProdutos, ProductColumnsAreFoundByNameWhateverTheirCaseOrPresence) {
  DriveTemp drive;
  CriaBaseDeTeste(
      "CREATE TABLE Bandeira (Id_Bandeira INTEGER, CRIADO_PELO_USUARIO INTEGER);"
      "CREATE TABLE Tipo_Subtipo_Prod (Id_TipoSubTipo INTEGER, Id_Tipo INTEGER, Id_Subtipo INTEGER);"
      "CREATE TABLE Produto (NOME TEXT, Id_Bandeira INTEGER, Id_Produto INTEGER, Id_TipoSubTipo INTEGER);"
      "CREATE TABLE IF_ISSUER_COD_PROD (IF_Kovra, Issuer_rede, Id_bandeira, Id_produto);"
      "CREATE TABLE CODPROD_SERVICO1 (Id_bandeira, id_produto, Cod_Produto_Servico1);"
      "CREATE TABLE EMPRESA_IF_BIN (Id_bandeira, Id_produto, Bin_inferior, Bin_superior, IF_Kovra, Cod_Empresa);"
      "CREATE TABLE IF_BIN (Id_bandeira, Id_produto, Bin_inferior, Bin_superior, IF_Kovra);"
      "CREATE TABLE BIN (Id_Bandeira, Id_Produto, Bin_inferior, Bin_superior);"
      "INSERT INTO Bandeira VALUES (7, 1);"
      "INSERT INTO Tipo_Subtipo_Prod VALUES (1, 3, 9);"
      "INSERT INTO Produto VALUES ('SO NOME', 7, 2, 1);"
      "INSERT INTO CODPROD_SERVICO1 VALUES (7, 2, NULL);");
  BaseProdutos base;
  ASSERT_EQ(AbreBaseProdutos(&base, kArquivoBaseProdutos), 0);
  LinhaProduto linha;
  ASSERT_EQ(BuscaLinhaProduto(&base, Ids("7", "2"), &linha), 1);
  EXPECT_EQ(linha.valor, (Colunas{"SO NOME", "3", "9", "", "", "1", ""}));
  // A NULL switch code is no answer.
  long long codigo = -1;
  EXPECT_EQ(BuscaCodigoServico(&base, Ids("7", "2"), &codigo), 0);
}

TEST(BaseProdutos, BuildingFromSqlLeavesNothingBehindOnFailure) {
  DriveTemp drive;
  std::string erro;
  EXPECT_NE(CriaBaseProdutos(kArquivoBaseProdutos, SqlProdutosDistribuido() + "INSERT INTO Nada VALUES (1);",
                             &erro),
            0);
  EXPECT_NE(erro.find("Nada"), std::string::npos) << erro;
  EXPECT_FALSE(drive.existe("kovra/config/prods/prods.db"));
  EXPECT_FALSE(drive.existe("kovra/config/prods/prods.db.novo"));

  // An existing database is never replaced.
  drive.escreve("kovra/config/prods/prods.db", "switch data");
  EXPECT_NE(CriaBaseProdutos(kArquivoBaseProdutos, SqlProdutosDistribuido(), &erro), 0);
  EXPECT_EQ(drive.le("kovra/config/prods/prods.db"), "switch data");
}

}  // namespace
