// The product data record: filled from the database's product row, with
// its columns found by name; all zero when anything is missing or a value
// does not fit its field.
#include <cstring>

#include "basico/prod_fixture.h"
#include "biblkovra/prods_fixture.h"

namespace {

struct CasoDados {
  const char* codigo;
  uint32_t bandeira;
  uint16_t produto;
  uint8_t flags;
  uint8_t tipo;
  uint16_t subtipo;
};

void ConfereDados(const CasoDados& c) {
  SCOPED_TRACE(c.codigo);
  DadosProduto d;
  std::memset(&d, 0xee, sizeof d);
  BuscaDadosProduto(&d, c.codigo);
  EXPECT_EQ(BandeiraDoProduto(d), c.bandeira);
  EXPECT_EQ(IdDoProduto(d), c.produto);
  EXPECT_EQ(d.flags, c.flags);
  EXPECT_EQ(d.tipo, c.tipo);
  EXPECT_EQ(SubtipoDoProduto(d), c.subtipo);
}

using DadosDoProduto = RegistroTeste;

TEST_F(DadosDoProduto, RowsOfTheDatabaseFillTheRecord) {
  CriaBaseDistribuida(
      "INSERT INTO Bandeira VALUES (70000, 'DO USUARIO', 1);"
      "INSERT INTO Tipo_Subtipo_Prod VALUES (9, 2, 65535, NULL);"
      "INSERT INTO Produto VALUES (70000, 300, 9, 'SO A BANDEIRA', 0, 1, 0);"
      "INSERT INTO Produto VALUES (54, 70000, 1, 'ID GRANDE', 0, 0, 0);"
      "INSERT INTO Tipo_Subtipo_Prod VALUES (10, 3, 65536, NULL);"
      "INSERT INTO Produto VALUES (54, 40, 10, 'SUBTIPO GRANDE', 0, 0, 0);"
      "INSERT INTO IF_ISSUER_COD_PROD VALUES (77, '060', 70000, 300), (77, '061', 54, 70000),"
      "  (77, '062', 54, 40), (77, '063', 54, 41);");
  Carrega();
  const CasoDados casos[] = {
      {"001", 54, 1, 0, 3, 1},
      {"028", 54, 28, 0, 3, 3},
      {"050", 900, 1, kProdutoCriadoPeloUsuario, kTipoPrivateLabel, 0},  // user brand and product, private label
      {"060", 70000, 300, kProdutoBandeiraDoUsuario, 2, 65535},
      {"061", 0, 0, 0, 0, 0},   // product id beyond 16 bits
      {"062", 0, 0, 0, 0, 0},   // sub-type beyond 16 bits
      {"063", 0, 0, 0, 0, 0},   // issuer row without a product row
      {"099", 0, 0, 0, 0, 0},   // no issuer row
      {"1", 0, 0, 0, 0, 0},
  };
  for (const auto& c : casos) ConfereDados(c);

  // The bytes themselves, least significant first.
  DadosProduto d;
  BuscaDadosProduto(&d, "060");
  const uint8_t esperado[10] = {0x70, 0x11, 0x01, 0x00, 0x2c, 0x01, 0x01, 0x02, 0xff, 0xff};
  EXPECT_EQ(std::memcmp(&d, esperado, sizeof d), 0);
}

TEST_F(DadosDoProduto, WithoutTheDatabaseEveryProductIsUnknown) {
  Carrega();
  ConfereDados({"001", 0, 0, 0, 0, 0});
  ConfereDados({"028", 0, 0, 0, 0, 0});
}

TEST_F(DadosDoProduto, AFileThatIsNotSqliteCountsAsNoDatabase) {
  drive_.escreve("kovra/Config/Prods/PRODS.DB", "SQLite format 2\nnot really");
  Carrega();
  EXPECT_NE(erros_.find("[SELECT Id_bandeira"), std::string::npos) << erros_;
  ConfereDados({"001", 0, 0, 0, 0, 0});
  char saida[6];
  EXPECT_EQ(BuscaCodigoProduto(saida, "001"), 1);
  EXPECT_STREQ(saida, "10011");
}

}  // namespace
