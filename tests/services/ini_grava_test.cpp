// Writing through the ini cache: the merged rewrite (placement of new keys
// and sections, layout copying, quoting, line endings, lines left out), the
// same value not touching the file, refused input, and failed writes that
// leave the file as it was.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "ini_fixture.h"

namespace fs = std::filesystem;

namespace {

struct stat StatDe(const std::string& caminho) {
  struct stat st {};
  EXPECT_EQ(stat(caminho.c_str(), &st), 0) << caminho;
  return st;
}

// No temporary file of a rewrite is left in the directory.
bool SemTemporarios(const std::string& dir) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().filename().string().rfind("ini", 0) == 0 && e.path().extension() == ".tmp")
      return false;
  return true;
}

}  // namespace

TEST_F(IniTeste, ValoresQueSoVoltamComAspas) {
  struct Caso {
    const char* valor;
    const char* linha;   // as it must stand in the file
  } casos[] = {
      {" inicio", "  a0=\" inicio\""},
      {"fim\t", "  a1=\"fim\t\""},
      {"\"entre\"", "  a2=\"\"entre\"\""},
      {"'simples'", "  a3=\"'simples'\""},
      {" ", "  a4=\" \""},   // one blank would be trimmed away too
      {"a b", "  a5=a b"},
      {"\"", "  a6=\""},
      {"x\"", "  a7=x\""},
      {"", "  a8="},
  };
  for (size_t i = 0; i < std::size(casos); ++i) {
    std::string chave = "a" + std::to_string(i);
    ASSERT_EQ(GravaIniString("S", chave.c_str(), casos[i].valor, kArq), 1) << casos[i].valor;
  }
  std::string texto = drive.le(kRel);
  for (const auto& c : casos) EXPECT_NE(texto.find(std::string(c.linha) + "\r\n"), std::string::npos) << c.linha;
  ReiniciaCacheIni();   // read back from the disk
  for (size_t i = 0; i < std::size(casos); ++i) {
    std::string chave = "a" + std::to_string(i);
    EXPECT_EQ(Le("S", chave.c_str()), casos[i].valor) << chave;
  }
}

TEST_F(IniTeste, NovasChavesESecoesNoLugar) {
  drive.escreve(kRel,
                "; topo\r\n"
                "[A]\r\n"
                "a=1\r\n"
                "\r\n"
                "[B]\r\n"
                "b=2\r\n");
  ASSERT_EQ(GravaIniString("A", "c", "3", kArq), 1);
  ASSERT_EQ(GravaIniString("Nova", "x", "9", kArq), 1);
  ASSERT_EQ(GravaIniString("", "raiz", "r", kArq), 1);
  ASSERT_EQ(GravaIniString("b", "B", "22", kArq), 1);   // in place, spelled as in the file
  EXPECT_EQ(drive.le(kRel),
            "; topo\r\n"
            "  raiz=r\r\n"   // no key line read yet: the default layout
            "[A]\r\n"
            "a=1\r\n"
            "\r\n"
            "c=3\r\n"
            "[B]\r\n"
            "b=22\r\n"
            "[Nova]\r\n"
            "x=9\r\n");
}

TEST_F(IniTeste, LayoutCopiadoDaUltimaLinhaLida) {
  drive.escreve(kRel,
                "[Sec] ; comentario\n"
                "\tchave = 'valor' \n"
                "outra = 1\n");
  ASSERT_EQ(GravaIniString("Sec", "nova", " com espaco", kArq), 1);
  ASSERT_EQ(GravaIniString("Sec", "chave", "troca", kArq), 1);
  ASSERT_EQ(GravaIniString("Fim", "k", "v", kArq), 1);
  EXPECT_EQ(drive.le(kRel),
            "[Sec] ; comentario\n"
            "\tchave = troca \n"
            "outra = 1\n"
            "nova = ' com espaco'\n"
            "[Fim] ; comentario\n"
            "k = v\n");
}

TEST_F(IniTeste, FimDeLinhaDoArquivoMantido) {
  struct Caso {
    const char* antes;
    const char* depois;
  } casos[] = {
      {"[S]\na=1\n", "[S]\na=1\nb=2\n"},
      {"[S]\ra=1\r", "[S]\ra=1\rb=2\r"},
      {"[S]\na=1\r\n", "[S]\na=1\nb=2\n"},        // the first line decides
      {"[S]\r\na=1", "[S]\r\na=1\r\nb=2\r\n"},    // a last line gets its terminator
      {"", "[S]\r\n  b=2\r\n"},                   // no line yet: CR LF
  };
  for (const auto& c : casos) {
    ReiniciaCacheIni();
    drive.escreve(kRel, c.antes);
    ASSERT_EQ(GravaIniString("S", "b", "2", kArq), 1);
    EXPECT_EQ(drive.le(kRel), c.depois) << c.antes;
  }
  ReiniciaCacheIni();
  ASSERT_EQ(GravaIniString("S", "b", "2", "/kovra/config/novo.ini"), 1);
  EXPECT_EQ(drive.le("kovra/config/novo.ini"), "[S]\r\n  b=2\r\n");
}

TEST_F(IniTeste, ReescritaDeixaDeForaOQueNaoSeLe) {
  drive.escreve(kRel,
                "[X\r\n"
                "perdida=1\r\n"
                "; fica\r\n"
                "[A]\r\n"
                "a=1\r\n"
                "A=2\r\n"
                "solta\r\n"
                "outra solta\r\n"
                "[]\r\n"
                "vazia=1\r\n"
                "[a]\r\n"
                "b=3\r\n");
  ASSERT_EQ(GravaIniString("A", "z", "9", kArq), 1);
  EXPECT_EQ(drive.le(kRel),
            "; fica\r\n"
            "[A]\r\n"
            "a=1\r\n"
            "solta\r\n"
            "z=9\r\n");
}

TEST_F(IniTeste, LinhaLongaCopiadaInteira) {
  std::string longa = "; " + std::string(10000, 'c');
  std::string valor(6000, 'v');
  drive.escreve(kRel, longa + "\r\n[S]\r\nk=" + valor + "\r\n");
  ASSERT_EQ(GravaIniString("S", "n", "1", kArq), 1);
  EXPECT_EQ(drive.le(kRel), longa + "\r\n[S]\r\nk=" + valor + "\r\nn=1\r\n");
}

TEST_F(IniTeste, LinhasLongasSemNomeVisivelFicamNaReescrita) {
  // A header whose "]" and lines whose "=" lie beyond the line buffer: the
  // reader cannot see their names, and a rewrite must not drop them.
  const std::string cabecalho = "[" + std::string(5000, 'h') + "]";
  const std::string solta1 = std::string(5000, 'a') + "=1";
  const std::string solta2 = std::string(5000, 'b') + "=2";
  const std::string antes = "[S]\r\n" + solta1 + "\r\n" + solta2 + "\r\nk=1\r\n" +
                            cabecalho + "\r\nx=1\r\n; nota\r\n[T]\r\nt=1\r\n";
  drive.escreve(kRel, antes);
  EXPECT_EQ(Lista("S"), (std::vector<std::string>{"k"}));
  EXPECT_EQ(Lista(nullptr), (std::vector<std::string>{"S", "T"}));
  ASSERT_EQ(GravaIniString("S", "n", "2", kArq), 1);
  ASSERT_EQ(GravaIniString("T", "t", "3", kArq), 1);
  EXPECT_EQ(drive.le(kRel), "[S]\r\n" + solta1 + "\r\n" + solta2 + "\r\nk=1\r\nn=2\r\n" +
                                cabecalho + "\r\nx=1\r\n; nota\r\n[T]\r\nt=3\r\n");
}

TEST_F(IniTeste, MesmoValorNaoTocaOArquivo) {
  ASSERT_EQ(GravaIniString("S", "k", "v", kArq), 1);
  struct stat antes = StatDe(drive.caminho(kRel));
  uint64_t gravacoes = Estat().gravacoes;
  ASSERT_EQ(GravaIniString("s", "K", "v", kArq), 1);
  struct stat depois = StatDe(drive.caminho(kRel));
  EXPECT_EQ(antes.st_ino, depois.st_ino);
  EXPECT_EQ(antes.st_mtim.tv_sec, depois.st_mtim.tv_sec);
  EXPECT_EQ(antes.st_mtim.tv_nsec, depois.st_mtim.tv_nsec);
  EXPECT_EQ(Estat().gravacoes, gravacoes);
}

TEST_F(IniTeste, ChaveNovaComValorVazioChegaAoArquivo) {
  drive.escreve(kRel, "[S]\r\n");
  ASSERT_EQ(GravaIniString("S", "k", "", kArq), 1);
  EXPECT_EQ(drive.le(kRel), "[S]\r\n  k=\r\n");
  ReiniciaCacheIni();
  EXPECT_EQ(Le("S", "k", "padrao"), "");
}

TEST_F(IniTeste, GravaIniIntComoDecimal) {
  ASSERT_EQ(GravaIniInt("S", "n", -5, kArq), 1);
  ASSERT_EQ(GravaIniInt("S", "m", INT_MIN, kArq), 1);
  EXPECT_EQ(Le("S", "n"), "-5");
  EXPECT_EQ(LeIniInt("S", "m", 0, kArq), INT_MIN);
}

TEST_F(IniTeste, EntradaRecusadaNaoMudaNada) {
  drive.escreve(kRel, "[S]\r\nk=v\r\n");
  std::string longo(4094, 'x');
  struct Caso {
    const char* secao;
    const char* chave;
    const char* valor;
  } casos[] = {
      {nullptr, "k", "v"},
      {"S", nullptr, "v"},
      {"S", "k", nullptr},
      {"S", "a=b", "v"},
      {"S", " k", "v"},
      {"S", "k\t", "v"},
      {"S", ";k", "v"},
      {"S", "[k", "v"},
      {"S", "k", "linha\r\nnova=1"},
      {"S", "k\n", "v"},
      {"S\r", "k", "v"},
      {"S", "k", longo.c_str()},
  };
  for (const auto& c : casos)
    EXPECT_EQ(GravaIniString(c.secao, c.chave, c.valor, kArq), 0)
        << (c.chave ? c.chave : "(null)") << " / " << (c.valor ? c.valor : "(null)");
  EXPECT_EQ(drive.le(kRel), "[S]\r\nk=v\r\n");
  EXPECT_EQ(Le("S", "k"), "v");
  EXPECT_EQ(GravaIniString("S", "k", "v", nullptr), 0);
}

TEST_F(IniTeste, DiretorioAusenteFalhaEGuardaNaMemoria) {
  const char* caminho = "/kovra/naoexiste/x.ini";
  EXPECT_EQ(GravaIniString("S", "k", "v", caminho), 0);
  EXPECT_FALSE(drive.existe("kovra/naoexiste"));
  // Readers of this process see the change that could not be written.
  EXPECT_EQ(Le("S", "k", "#", caminho), "v");
  // Once the directory exists, the next use writes it.
  fs::create_directories(drive.caminho("kovra/naoexiste"));
  EXPECT_EQ(Le("S", "k", "#", caminho), "v");
  EXPECT_EQ(drive.le("kovra/naoexiste/x.ini"), "[S]\r\n  k=v\r\n");
}

TEST_F(IniTeste, GravacaoQueFalhaDeixaOArquivoComoEstava) {
  std::string original = "; config\r\n[S]\r\na=1\r\n" + std::string(200, ';') + "\r\n";
  drive.escreve(kRel, original);
  fs::permissions(drive.caminho(kRel), fs::perms(0640));
  ASSERT_EQ(Le("S", "a"), "1");

  // Writes beyond 64 bytes fail (EFBIG) while the limit holds.
  struct rlimit antes;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
  struct rlimit pequeno = antes;
  pequeno.rlim_cur = 64;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &pequeno), 0);
  int r = GravaIniString("S", "b", "2", kArq);
  setrlimit(RLIMIT_FSIZE, &antes);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(r, 0);
  EXPECT_EQ(drive.le(kRel), original);
  EXPECT_TRUE(SemTemporarios(drive.caminho("kovra/config")));
  EXPECT_EQ(Le("S", "b"), "2");   // kept in memory, and written on this use
  EXPECT_EQ(drive.le(kRel), "; config\r\n[S]\r\na=1\r\n" + std::string(200, ';') + "\r\nb=2\r\n");
  EXPECT_EQ(StatDe(drive.caminho(kRel)).st_mode & 0777, 0640u);
}

TEST_F(IniTeste, ArquivoSomenteLeituraNaoESubstituido) {
  const std::string original = "[S]\r\na=1\r\n";
  drive.escreve(kRel, original);
  fs::permissions(drive.caminho(kRel), fs::perms(0444));
  EXPECT_EQ(GravaIniString("S", "a", "2", kArq), 0);
  EXPECT_EQ(drive.le(kRel), original);
  EXPECT_EQ(StatDe(drive.caminho(kRel)).st_mode & 0777, 0444u);
  EXPECT_TRUE(SemTemporarios(drive.caminho("kovra/config")));
  EXPECT_EQ(Le("S", "a"), "2");   // kept in memory
  // Made writable again, the next use writes the change.
  fs::permissions(drive.caminho(kRel), fs::perms(0640));
  EXPECT_EQ(Le("S", "a"), "2");
  EXPECT_EQ(drive.le(kRel), "[S]\r\na=2\r\n");
  EXPECT_EQ(StatDe(drive.caminho(kRel)).st_mode & 0777, 0640u);
}

TEST_F(IniTeste, MudancaDeOutroProgramaSobreviveAEscrita) {
  drive.escreve(kRel, "[S]\r\na=1\r\nb=1\r\n");
  ASSERT_EQ(Le("S", "a"), "1");
  // Another program changes b, keeping the size; the time tells.
  drive.escreve(kRel, "[S]\r\na=1\r\nb=7\r\n");
  fs::last_write_time(drive.caminho(kRel), fs::last_write_time(drive.caminho(kRel)) + std::chrono::seconds(1));
  ASSERT_EQ(GravaIniString("S", "a", "2", kArq), 1);
  EXPECT_EQ(drive.le(kRel), "[S]\r\na=2\r\nb=7\r\n");

  // A change made while this process has an unwritten change pending.
  ASSERT_EQ(GravaIniString("S", "c", "3", "/kovra/config/outro/x.ini"), 0);   // no directory
  fs::create_directories(drive.caminho("kovra/config/outro"));
  drive.escreve("kovra/config/outro/x.ini", "[S]\r\nd=4\r\n");
  EXPECT_EQ(Le("S", "d", "#", "/kovra/config/outro/x.ini"), "4");
  EXPECT_EQ(drive.le("kovra/config/outro/x.ini"), "[S]\r\nd=4\r\nc=3\r\n");
}

TEST_F(IniTeste, MudancaDuranteAEscritaRefazAMescla) {
  drive.escreve(kRel, "[S]\r\na=1\r\nb=1\r\n");
  ASSERT_EQ(Le("S", "a"), "1");
  int vezes = 0;
  // Another program replaces the file after the merge was written from the
  // old contents, before the rename.
  cache_ini.gancho_antes_de_renomear = [&](const std::string&) {
    if (vezes++ > 0) return;
    drive.escreve("kovra/config/outro.tmp", "[S]\r\na=1\r\nb=7\r\nc=8\r\n");
    fs::rename(drive.caminho("kovra/config/outro.tmp"), drive.caminho(kRel));
  };
  EXPECT_EQ(GravaIniString("S", "a", "2", kArq), 1);
  cache_ini.gancho_antes_de_renomear = nullptr;
  EXPECT_EQ(vezes, 2);
  EXPECT_EQ(drive.le(kRel), "[S]\r\na=2\r\nb=7\r\nc=8\r\n");
  EXPECT_TRUE(SemTemporarios(drive.caminho("kovra/config")));
  EXPECT_EQ(Le("S", "c"), "8");
}
