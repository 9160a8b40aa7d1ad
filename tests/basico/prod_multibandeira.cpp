// The multi-brand check: the line grammar, the choice between the
// company's file and the switch's, and the answer from the routing network
// and the mode flag.
#include <filesystem>
#include <string>

#include "basico/prod_fixture.h"
#include "basico/prodkovra_multi.h"

namespace {

TEST(LinhaMultiBandeira, FieldsTranslationAndKinds) {
  const ProdutoRede credito{"001", 54, 3, 1}, frota{"003", 54, 6, 0}, debito5{"x", 5, 5, 0},
      marca1{"y", 1, 1, 0};
  struct {
    const char* linha;
    const ProdutoRede& produto;
    int rede;
  } casos[] = {
      {"54;3;77;", credito, 77},     {"54;3;77;resto", credito, 77}, {" 54 ; 3 ;77;", credito, 77},
      {"54;3;77", credito, 0},       // fewer than three ";"
      {"54;x;77;", credito, 0},      {"54;3;;", credito, 0},         {";3;77;", credito, 0},
      {"54;1;77;", credito, 0},      // kind not accepted
      {"55;3;77;", credito, 0},      // another brand
      {"54;2;77;", frota, 77},       {"54;3;77;", frota, 77},        {"54;6;77;", frota, 77},
      {"54;1;77;", frota, 0},        {"61;1;77;", debito5, 77},      // 61 stands for brand 5, kind 1 for 5
      {"61;5;77;", debito5, 77},     {"5;5;77;", debito5, 77},       {"4;1;77;", marca1, 77},
      {"1;1;77;", marca1, 77},       {"7;1;77;", marca1, 0},         // 7 stands for brand 4
      {"54;3;99999999999;", credito, 0},
  };
  for (const auto& c : casos) EXPECT_EQ(RedeDaLinhaMulti(c.linha, c.produto), c.rede) << c.linha;
}

class MultiBandeira : public RegistroTeste {
 protected:
  void EscreveGeral(const std::string& linhas) {
    drive_.escreve("kovra/config/multibandeira.ini", "[Bandeiras]\n" + linhas);
  }
  void EscreveEmpresa(const std::string& empresa, const std::string& linhas) {
    drive_.escreve("kovra/config/empresas/" + empresa + "/multibandeira.ini", "[Bandeiras]\n" + linhas);
  }
};

TEST_F(MultiBandeira, ALineForThisNetworkAllowsAndAnotherNetworkRefuses) {
  Carrega();
  EscreveGeral("1=54;6;55;\n2=54;3;77;\n");   // kind 3 lines also serve kind 6
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 1);
  EXPECT_EQ(VerificaMultiBandeira("00000001", "003"), 0);   // kind 6 goes to network 55
  EXPECT_EQ(VerificaMultiBandeira("00000001", "098"), 1);   // no line: the mode flag allows
  EXPECT_EQ(VerificaMultiBandeira("00000001", "050"), 0);   // not a product of the network
  EXPECT_EQ(VerificaMultiBandeira("00000001", "01"), 0);
}

TEST_F(MultiBandeira, WithoutALineTheModeFlagDecides) {
  Carrega(77, 0);
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 0);   // no file at all
  EscreveGeral("1=54;3;0;\n2=54;3;77;\n");                  // 0 names no network
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 1);
  EscreveGeral("1=54;3;0;\n");
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 0);
  DefineModoProdutos(1);
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 1);
  EXPECT_EQ(VerificaMultiBandeira(nullptr, "001"), 1);
}

TEST_F(MultiBandeira, TheCompanyFileComesBeforeTheSwitchFile) {
  Carrega();
  EscreveGeral("1=54;3;77;\n");
  EscreveEmpresa("12345678", "1=54;3;55;\n");
  EXPECT_EQ(VerificaMultiBandeira("12345678", "001"), 0);
  EXPECT_EQ(VerificaMultiBandeira("12345678XYZ", "001"), 0);   // the first 8 characters name it
  EXPECT_EQ(VerificaMultiBandeira("87654321", "001"), 1);      // no own file: the switch's
  // A company code that would leave the companies' directory is not used
  // as a directory name.
  EscreveEmpresa("../x", "1=54;3;55;\n");
  EXPECT_EQ(VerificaMultiBandeira("../x", "001"), 1);
}

TEST_F(MultiBandeira, TheFirstMatchingLineWinsAndMalformedLinesAreSkipped) {
  Carrega(77, 0);
  EscreveGeral("1=54;3\n2=nada\n3=54;3;x;\n4=54;3;55;\n5=54;3;77;\n");
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 0);
  EscreveGeral("; swapped\n1=54;3\n2=nada\n3=54;3;x;\n4=54;3;77;\n5=54;3;55;\n");
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 1);
}

TEST_F(MultiBandeira, AFileOfTenMegabytesIsNotRead) {
  Carrega(77, 0);
  EscreveGeral("1=54;3;77;\n");
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 1);
  std::filesystem::resize_file(drive_.caminho("kovra/config/multibandeira.ini"), 10 * 1024 * 1024);
  EXPECT_EQ(VerificaMultiBandeira("00000001", "001"), 0);
}

}  // namespace
