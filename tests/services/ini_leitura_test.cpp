// Reading through the ini cache: the grammar, value results and cuts,
// listings with their double-NUL ending, LeIniInt, and path spellings.
#include <climits>
#include <cstring>
#include <filesystem>

#include "ini_fixture.h"

namespace {

const char kArquivoVariado[] =
    "; comment line\r\n"
    "\x1a\x1a\r\n"
    "raiz=antes\r\n"
    "[Geral]\r\n"
    "  Nome  =  valor com espacos   \r\n"
    "Vazio=\r\n"
    "Aspas=\" com espaco \"\r\n"
    "Simples='x'\r\n"
    "UmaAspa=\"\r\n"
    "Misto=\"abc'\r\n"
    "Fim=a ; not a comment\r\n"
    "igual=a=b\r\n"
    "\t\x1a Tab =\tz\t\r\n"
    "Nome=segunda\r\n"
    "[geral]\r\n"
    "Repetida=1\r\n"
    "[Quebrado\r\n"
    "Perdida=1\r\n"
    "[]\r\n"
    "Perdida2=2\r\n"
    "[Outra] texto depois\r\n"
    "chave=ok\r\n"
    "[a]b]\n"
    "k=colchete\r"
    "cr=sozinho";

}  // namespace

TEST_F(IniTeste, GramaticaDasLinhas) {
  drive.escreve(kRel, kArquivoVariado);
  struct Caso {
    const char* secao;
    const char* chave;
    const char* esperado;
  } casos[] = {
      {"", "raiz", "antes"},
      {"Geral", "Nome", "valor com espacos"},
      {"GERAL", "nome", "valor com espacos"},   // first occurrence wins, names fold
      {"Geral", "Vazio", ""},                   // found and empty, not the default
      {"Geral", "Aspas", " com espaco "},
      {"Geral", "Simples", "x"},
      {"Geral", "UmaAspa", "\""},
      {"Geral", "Misto", "\"abc'"},
      {"Geral", "Fim", "a ; not a comment"},
      {"Geral", "igual", "a=b"},
      {"Geral", "tab", "z"},
      {"Geral", "Repetida", "#"},               // under a repeated header
      {"Geral", "Perdida", "#"},                // under malformed headers
      {"Quebrado", "Perdida", "#"},
      {"", "Perdida2", "#"},
      {"Outra", "chave", "ok"},
      {"a]b", "k", "colchete"},                 // name up to the last "]"; lone CR ends a line
      {"a]b", "cr", "sozinho"},                 // last line without terminator
      {"Outra", "ausente", "#"},
      {"Ausente", "chave", "#"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(Le(c.secao, c.chave), c.esperado) << "[" << c.secao << "] " << c.chave;
  EXPECT_EQ(Lista(nullptr), (std::vector<std::string>{"a]b", "Geral", "Outra"}));
}

TEST_F(IniTeste, ResultadoECorteDoValor) {
  drive.escreve(kRel, "[S]\r\nk=abcdef\r\n");
  struct Caso {
    const char* chave;
    const char* padrao;
    size_t tam;
    int resultado;
    const char* texto;
  } casos[] = {
      {"k", "zz", 7, 6, "abcdef"},
      {"k", "zz", 6, 5, "abcde"},       // cut to size - 1
      {"k", "zz", 1, 0, ""},
      {"x", "padrao", 100, 6, "padrao"},
      {"x", "padrao", 4, 3, "pad"},     // the default is cut too
      {"x", nullptr, 10, 0, ""},        // a null default counts as ""
  };
  for (const auto& c : casos) {
    char buf[128];
    std::memset(buf, 'Z', sizeof buf);
    int r = LeIniString("S", c.chave, c.padrao, buf, c.tam, kArq);
    EXPECT_EQ(r, c.resultado) << c.chave << " " << c.tam;
    EXPECT_STREQ(buf, c.texto) << c.chave << " " << c.tam;
    EXPECT_EQ(buf[c.tam], 'Z') << "wrote past the buffer";
  }
  char buf[4] = {'Z', 'Z', 'Z', 'Z'};
  EXPECT_EQ(LeIniString("S", "k", "d", buf, 0, kArq), 0);
  EXPECT_EQ(buf[0], 'Z');
  // A null path counts as "", which names no file.
  EXPECT_EQ(Le("S", "k", "d", nullptr), "d");
}

TEST_F(IniTeste, ListagemEmOrdemDosNomesDobrados) {
  drive.escreve(kRel, "[Zeta]\r\nz=1\r\n[alpha]\r\nB=1\r\na=2\r\nab=3\r\n[Beta]\r\n");
  char buf[64];
  int n = LeIniString(nullptr, nullptr, "", buf, sizeof buf, kArq);
  ASSERT_EQ(n, 16);
  EXPECT_EQ(std::string(buf, 17), std::string("alpha\0Beta\0Zeta\0\0", 17));
  EXPECT_EQ(Lista("ALPHA"), (std::vector<std::string>{"a", "ab", "B"}));
  EXPECT_EQ(Lista("Beta"), std::vector<std::string>{});
  EXPECT_EQ(Lista("ausente"), std::vector<std::string>{});
}

TEST_F(IniTeste, ListagemQueNaoCabe) {
  drive.escreve(kRel, "[Zeta]\r\n[alpha]\r\n[Beta]\r\n");
  struct Caso {
    size_t tam;
    int resultado;
    std::string conteudo;   // the bytes that must be there
  } casos[] = {
      {17, 16, std::string("alpha\0Beta\0Zeta\0\0", 17)},
      {16, 0, std::string("alpha\0Beta\0\0", 12)},   // Zeta needs 4 + 2 free bytes
      {7, 0, std::string("alpha\0\0", 7)},
      {6, 0, std::string("\0\0", 2)},
      {1, 0, std::string("\0", 1)},
  };
  for (const auto& c : casos) {
    char buf[32];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(LeIniString(nullptr, nullptr, "", buf, c.tam, kArq), c.resultado) << c.tam;
    EXPECT_EQ(std::string(buf, c.conteudo.size()), c.conteudo) << c.tam;
    EXPECT_EQ(buf[c.tam], 'Z') << c.tam;
  }
}

TEST_F(IniTeste, ListagemDeArquivoAusente) {
  char buf[8];
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(LeIniString(nullptr, nullptr, "x", buf, sizeof buf, "/kovra/nada.ini"), 0);
  EXPECT_EQ(std::string(buf, 2), std::string("\0\0", 2));
}

TEST_F(IniTeste, LinhasSemIgualContamComoChaveVazia) {
  drive.escreve(kRel, "[S]\r\nsolta\r\na=1\r\noutra solta\r\n");
  EXPECT_EQ(Lista("S"), (std::vector<std::string>{"", "a"}));
  EXPECT_EQ(Le("S", ""), "");
}

TEST_F(IniTeste, LinhaLongaCortadaNoBuffer) {
  std::string longa(5000, 'x');
  drive.escreve(kRel, "[S]\r\nk=" + longa + "\r\nseguinte=1\r\n");
  char buf[8192];
  int n = LeIniString("S", "k", "", buf, sizeof buf, kArq);
  EXPECT_EQ(n, 4096 - 2);   // the line is seen through 4096 bytes: "k=" and the value
  // The rest of the long line is not a line of its own.
  EXPECT_EQ(Lista("S"), (std::vector<std::string>{"k", "seguinte"}));
  EXPECT_EQ(Le("S", "seguinte"), "1");
}

TEST_F(IniTeste, LeIniIntAceitaSoInteirosInteiros) {
  struct Caso {
    const char* valor;
    int esperado;
  } casos[] = {
      {"  12  ", 12},
      {"", -1},
      {"+", -1},
      {"-", -1},
      {"12ab", -1},
      {"1 2", -1},
      {"\" 12\"", -1},
      {"2147483648", -1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", -1},
      {"+7", 7},
      {"-0", 0},
      {"0000000000000000012345", 12},   // judged on its first 19 characters
      {"99999999999999999999", -1},
  };
  std::string texto = "[N]\r\n";
  for (size_t i = 0; i < std::size(casos); ++i)
    texto += "v" + std::to_string(i) + "=" + casos[i].valor + "\r\n";
  drive.escreve(kRel, texto);
  for (size_t i = 0; i < std::size(casos); ++i) {
    std::string chave = "v" + std::to_string(i);
    EXPECT_EQ(LeIniInt("N", chave.c_str(), -1, kArq), casos[i].esperado) << casos[i].valor;
  }
  EXPECT_EQ(LeIniInt("N", "ausente", 42, kArq), 42);
  EXPECT_EQ(LeIniInt(nullptr, "v0", 42, kArq), 42);
  EXPECT_EQ(LeIniInt("N", nullptr, 42, kArq), 42);
}

TEST_F(IniTeste, AsGrafiasDoCaminho) {
  drive.escreve("kovra/Dados/Teste.ini", "[S]\r\nk=v\r\n");
  for (const char* c : {"/kovra/./dados/teste.ini", "\\kovra\\dados\\TESTE.ini",
                        "../dados/teste.ini", "/KOVRA/DADOS/TESTE.INI"})
    EXPECT_EQ(Le("S", "k", "#", c), "v") << c;
  // Entries are keyed by the path as written, lower-cased: these four
  // spellings are four entries, and one that differs from the last only in
  // letter case shares its entry.
  EXPECT_EQ(Le("S", "k", "#", "/kovra/dados/teste.ini"), "v");
  EXPECT_EQ(Estat().arquivos, 4u);
}

TEST_F(IniTeste, ExisteArquivo) {
  drive.escreve(kRel, "x");
  EXPECT_EQ(ExisteArquivo(kArq), 1);
  EXPECT_EQ(ExisteArquivo("\\KOVRA\\config"), 1);
  EXPECT_EQ(ExisteArquivo("/kovra/config/nada.ini"), 0);
}
