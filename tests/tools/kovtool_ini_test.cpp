// kovtool ini through the real binary: values, integers and listings read
// through the module's cache, a write read back and found on disk, the
// exit statuses 0, 1 and 2, and the three spellings of the file's path.
#include <string>

#include "kovtool_apoio.h"

namespace {

class KovtoolIni : public KovtoolTeste {
 protected:
  void SetUp() override {
    drive_.escreve("kovra/Config/teste.ini",
                   "; configuracao de teste\r\n"
                   "[Zeta]\r\nk=1\r\n"
                   "[alpha]\r\nb = dois\r\nA=um\r\nn=  12  \r\nx=12ab\r\n"
                   "[Beta]\r\ngrande=2147483648\r\nmenor=-2147483648\r\n");
  }
  static constexpr const char* kIni = "\\kovra\\config\\teste.ini";
};

TEST_F(KovtoolIni, ReadsAndListings) {
  struct Caso {
    std::vector<std::string> args;
    const char* saida;
  };
  const Caso kCasos[] = {
      {{"get", kIni, "alpha", "b"}, "dois\n"},
      {{"get", "/kovra/config/TESTE.INI", "ALPHA", "a"}, "um\n"},
      {{"get", "../config/teste.ini", "zeta", "K"}, "1\n"},
      {{"get", kIni, "alpha", "falta", "padrao"}, "padrao\n"},
      {{"get", kIni, "falta", "b"}, "\n"},
      {{"get", "/kovra/config/nenhum.ini", "alpha", "b", "x"}, "x\n"},
      {{"int", kIni, "alpha", "n", "7"}, "12\n"},
      {{"int", kIni, "alpha", "x", "7"}, "7\n"},
      {{"int", kIni, "alpha", "b", "-3"}, "-3\n"},
      {{"int", kIni, "beta", "grande", "7"}, "7\n"},
      {{"int", kIni, "beta", "menor", "7"}, "-2147483648\n"},
      {{"int", kIni, "beta", "falta", "-7"}, "-7\n"},
      // Listings follow the names folded to lower case, not the file.
      {{"sections", kIni}, "alpha\nBeta\nZeta\n"},
      {{"keys", kIni, "ALPHA"}, "A\nb\nn\nx\n"},
      {{"keys", kIni, "falta"}, ""},
      {{"sections", "/kovra/config/nenhum.ini"}, ""},
  };
  for (const Caso& c : kCasos) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "ini");
    const SaidaProcesso s = Kovtool(args);
    EXPECT_EQ(s.status, 0) << Junta(args) << ": " << s.err;
    EXPECT_EQ(s.out, c.saida) << Junta(args);
  }
}

TEST_F(KovtoolIni, WriteReadBackAndFailure) {
  const SaidaProcesso s = Kovtool({"ini", "set", kIni, "alpha", "novo", " com espaco"});
  EXPECT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(s.out, "");
  // Placed after the section's last line, quoted so that the space is kept,
  // with the file's CR LF.
  const std::string disco = drive_.le("kovra/Config/teste.ini");
  EXPECT_NE(disco.find("x=12ab\r\nnovo=\" com espaco\"\r\n[Beta]\r\n"), std::string::npos) << disco;
  const SaidaProcesso lido = Kovtool({"ini", "get", "../config/teste.ini", "Alpha", "NOVO"});
  EXPECT_EQ(lido.out, " com espaco\n");
  EXPECT_EQ(Kovtool({"ini", "keys", kIni, "alpha"}).out, "A\nb\nn\nnovo\nx\n");

  // A missing directory: the write fails with 1 and creates nothing.
  EsperaRecusa({"ini", "set", "/kovra/nada/x.ini", "a", "b", "c"}, 1, "could not write");
  EXPECT_FALSE(drive_.existe("kovra/nada"));
  EXPECT_EQ(drive_.le("kovra/Config/teste.ini"), disco);
}

TEST_F(KovtoolIni, BadArgumentsAreRefused) {
  struct Caso {
    std::vector<std::string> args;
    const char* motivo;
  };
  const Caso kCasos[] = {
      {{"ini"}, "expected get, int, set, sections or keys"},
      {{"ini", "frob", kIni}, "unknown operation 'frob'"},
      {{"ini", "get", kIni, "alpha"}, "expected PATH SECTION KEY [DEFAULT]"},
      {{"ini", "int", kIni, "alpha", "n"}, "expected PATH SECTION KEY DEFAULT"},
      {{"ini", "int", kIni, "alpha", "n", "sete"}, "DEFAULT 'sete' is not an integer"},
      {{"ini", "set", kIni, "alpha", "n"}, "expected PATH SECTION KEY VALUE"},
      {{"ini", "sections"}, "expected PATH"},
      {{"ini", "keys", kIni}, "expected PATH SECTION"},
  };
  const std::string antes = drive_.le("kovra/Config/teste.ini");
  for (const Caso& c : kCasos) EsperaRecusa(c.args, 2, c.motivo);
  EXPECT_EQ(drive_.le("kovra/Config/teste.ini"), antes);
}

}  // namespace
