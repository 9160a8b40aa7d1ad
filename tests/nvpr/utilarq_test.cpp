// File utilities: existence and information, recursive directory creation,
// rename and its retry policy, delete of an open file, temporary files and
// directory listings.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cctype>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_fileutil_interno.h"
#include "nvpr/nv_path.h"
#include "nvpr/nv_time.h"
#include "support/drive.h"

namespace {

struct UtilArq : ::testing::Test {
  DriveTemp drive;
  void TearDown() override { NV_DefineRenomeiaSistema(nullptr, nullptr); }
};

TEST_F(UtilArq, ExistenceAndInformation) {
  drive.escreve("kovra/config/Geral.001", "12345");
  EXPECT_EQ(ExisteArquivo("/kovra/config/geral.001"), 1);
  EXPECT_EQ(ExisteArquivo("/kovra/config"), 1);
  EXPECT_EQ(ExisteArquivo("/kovra/config/nada"), 0);
  EXPECT_EQ(ExisteArquivo(nullptr), 0);

  NV_InfoArquivo info;
  ASSERT_EQ(NV_InfoArquivoCaminho("\\KOVRA\\CONFIG\\GERAL.001", NV_INFO_TUDO, &info), NV_OK);
  EXPECT_EQ(info.presentes, static_cast<unsigned>(NV_INFO_TUDO));
  EXPECT_EQ(info.tamanho, 5);
  EXPECT_TRUE(info.regular);
  EXPECT_FALSE(info.diretorio);
  EXPECT_EQ(info.nome, "Geral.001");   // the name as found
  EXPECT_GT(info.modificacao_ms, 1600000000000LL);
  EXPECT_GE(info.modificacao.ano, 2020);

  NV_Arquivo f;
  ASSERT_EQ(NV_FileOpen(&f, "/kovra/config/geral.001", NV_O_RDONLY), NV_OK);
  NV_InfoArquivo pelo_handle;
  ASSERT_EQ(NV_InfoArquivoHandle(&f, NV_INFO_ID | NV_INFO_NOME | NV_INFO_TIPO, &pelo_handle), NV_OK);
  EXPECT_EQ(pelo_handle.id, [&] {
    NV_InfoArquivo i;
    NV_InfoArquivoCaminho("/kovra/config/geral.001", NV_INFO_ID, &i);
    return i.id;
  }());
  EXPECT_EQ(pelo_handle.nome, "Geral.001");
  EXPECT_EQ(pelo_handle.presentes, unsigned(NV_INFO_ID | NV_INFO_NOME | NV_INFO_TIPO));

  ASSERT_EQ(NV_InfoArquivoCaminho("/kovra", NV_INFO_TIPO, &info), NV_OK);
  EXPECT_TRUE(info.diretorio);
  EXPECT_EQ(info.presentes, static_cast<unsigned>(NV_INFO_TIPO));
  EXPECT_EQ(NV_InfoArquivoCaminho("/kovra/nada", NV_INFO_TUDO, &info), NV_ENOENT);
  NV_Arquivo fechado;
  EXPECT_EQ(NV_InfoArquivoHandle(&fechado, NV_INFO_TUDO, &info), NV_EBADF);
}

TEST_F(UtilArq, TimesInLocalTimeOrUtc) {
  drive.escreve("kovra/t", "");
  NV_InfoArquivo local, utc;
  ASSERT_EQ(NV_InfoArquivoCaminho("/kovra/t", NV_INFO_MODIF, &local), NV_OK);
  ASSERT_EQ(NV_InfoArquivoCaminho("/kovra/t", NV_INFO_MODIF | NV_INFO_UTC, &utc), NV_OK);
  EXPECT_EQ(local.modificacao_ms, utc.modificacao_ms);
  NV_DataHora esperado;
  NV_ConverteHora(utc.modificacao_ms / 1000, true, &esperado);
  EXPECT_EQ(utc.modificacao.hora, esperado.hora);
  EXPECT_EQ(utc.modificacao.minuto, esperado.minuto);
}

TEST_F(UtilArq, RecursiveDirectoryCreation) {
  EXPECT_EQ(NV_CriaDiretorio("/kovra/a/b/c", true), NV_OK);
  EXPECT_TRUE(drive.existe("kovra/a/b/c"));
  struct stat st;
  ASSERT_EQ(stat(drive.caminho("kovra/a/b").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(NV_CriaDiretorio("\\KOVRA\\A\\B\\c\\\\d", true), NV_OK);   // existing levels in any case
  EXPECT_TRUE(drive.existe("kovra/a/b/c/d"));
  EXPECT_EQ(NV_CriaDiretorio("/kovra/a/b/c", true), NV_OK);
  EXPECT_EQ(NV_CriaDiretorio("/kovra/a/b/c", false), NV_EEXIST);
  EXPECT_EQ(NV_CriaDiretorio("/kovra/a/e", false), NV_OK);
  EXPECT_EQ(NV_CriaDiretorio("/kovra/x/y", false), NV_ENOENT);
}

TEST_F(UtilArq, ALevelThatIsAFileStopsTheWalkWith20) {
  drive.escreve("kovra/arq", "");
  EXPECT_EQ(NV_CriaDiretorio("/kovra/arq/b/c", true), NV_ENOTDIR);
  EXPECT_EQ(NV_CriaDiretorio("/kovra/arq", true), NV_ENOTDIR);
  EXPECT_EQ(NV_CriaDiretorio("/kovra/arq", false), NV_ENOTDIR);
  EXPECT_EQ(NV_CriaDiretorio("/kovra/arq/b", false), NV_ENOTDIR);
}

TEST_F(UtilArq, RenameReplacesOnlyWhenAsked) {
  drive.escreve("kovra/a", "A");
  drive.escreve("kovra/b", "B");
  EXPECT_EQ(NV_Renomeia("/kovra/a", "/kovra/b", NV_RENOMEIA_SUBSTITUI | NV_RENOMEIA_NAO_SUBSTITUI),
            NV_EINVAL);
  EXPECT_EQ(NV_Renomeia("/kovra/a", "/kovra/b", NV_RENOMEIA_NAO_SUBSTITUI), NV_EEXIST);
  EXPECT_EQ(NV_Renomeia("/kovra/a", "/KOVRA/B", 0), NV_EEXIST);   // the target in another case
  EXPECT_EQ(drive.le("kovra/b"), "B");
  EXPECT_EQ(NV_Renomeia("/kovra/A", "/kovra/b", NV_RENOMEIA_SUBSTITUI), NV_OK);
  EXPECT_EQ(drive.le("kovra/b"), "A");
  EXPECT_FALSE(drive.existe("kovra/a"));
  EXPECT_EQ(NV_Renomeia("/kovra/b", "/kovra/c", NV_RENOMEIA_NAO_SUBSTITUI), NV_OK);
  EXPECT_EQ(drive.le("kovra/c"), "A");
  EXPECT_EQ(NV_Renomeia("/kovra/nada", "/kovra/d", 0), NV_ENOENT);
  EXPECT_EQ(NV_Renomeia("/kovra/c", "/KOVRA/C", 0), NV_OK);   // onto itself
  EXPECT_EQ(drive.le("kovra/c"), "A");
}

// A scripted rename: fails with the listed errnos, then does the real one.
struct Roteiro {
  std::vector<int> erros;
  size_t feitos = 0;
  std::vector<bool> substituicoes;
  std::vector<int64_t> esperas;
};
Roteiro g_rot;
void Roteiriza(std::vector<int> erros) {
  g_rot = Roteiro();
  g_rot.erros = std::move(erros);
}

int RenomeiaRoteiro(const char* a, const char* b, bool substitui) {
  g_rot.substituicoes.push_back(substitui);
  if (g_rot.feitos < g_rot.erros.size()) return g_rot.erros[g_rot.feitos++];
  return rename(a, b) == 0 ? 0 : errno;
}
void Espera(int64_t ms) { g_rot.esperas.push_back(ms); }

TEST_F(UtilArq, RenameRetriesWhileTheFileIsHeld) {
  drive.escreve("kovra/a", "A");
  NV_DefineRenomeiaSistema(RenomeiaRoteiro, Espera);
  Roteiriza({EACCES, EBUSY, EACCES});
  EXPECT_EQ(NV_Renomeia("/kovra/a", "/kovra/b", NV_RENOMEIA_SUBSTITUI), NV_OK);
  EXPECT_EQ(g_rot.esperas, (std::vector<int64_t>{16, 32, 64}));
  EXPECT_TRUE(drive.existe("kovra/b"));

  // Held for longer than the seven retries (about 2 s): 13, after
  // 16 + 32 + ... + 1024 ms of waiting.
  Roteiriza(std::vector<int>(20, EACCES));
  EXPECT_EQ(NV_Renomeia("/kovra/b", "/kovra/c", NV_RENOMEIA_SUBSTITUI), NV_EACCES);
  EXPECT_EQ(g_rot.esperas, (std::vector<int64_t>{16, 32, 64, 128, 256, 512, 1024}));
  EXPECT_EQ(g_rot.substituicoes.size(), 8u);

  // Other failures are not retried.
  Roteiriza({EXDEV});
  EXPECT_EQ(NV_Renomeia("/kovra/b", "/kovra/c", 0), NV_EXDEV);
  EXPECT_TRUE(g_rot.esperas.empty());
}

TEST_F(UtilArq, AReplacingRenameThatFindsNothingTriesOnceWithoutReplacing) {
  drive.escreve("kovra/a", "A");
  NV_DefineRenomeiaSistema(RenomeiaRoteiro, Espera);
  Roteiriza({ENOENT});
  EXPECT_EQ(NV_Renomeia("/kovra/a", "/kovra/b", NV_RENOMEIA_SUBSTITUI), NV_OK);
  EXPECT_EQ(g_rot.substituicoes, (std::vector<bool>{true, false}));
  Roteiriza({ENOENT, ENOENT});
  EXPECT_EQ(NV_Renomeia("/kovra/b", "/kovra/c", NV_RENOMEIA_SUBSTITUI), NV_ENOENT);
  EXPECT_EQ(g_rot.substituicoes.size(), 2u);
}

TEST_F(UtilArq, DeleteOfAnOpenFileFreesTheNameAtOnce) {
  for (bool simples : {true, false}) {
    drive.escreve("kovra/tmp/x.msg", "velho");
    NV_Arquivo aberto;
    ASSERT_EQ(NV_FileOpen(&aberto, "/kovra/tmp/x.msg", NV_O_RDONLY), NV_OK);
    ASSERT_EQ(NV_Remove("/kovra/TMP/X.msg", simples), NV_OK);
    NV_Arquivo novo;
    ASSERT_EQ(NV_FileOpen(&novo, "/kovra/tmp/x.msg", NV_O_RDWR | NV_O_CREAT | NV_O_EXCL), NV_OK);
    // The old handle still reads the old data.
    char buf[8];
    size_t n = 0;
    ASSERT_EQ(NV_FileRead(&aberto, buf, sizeof buf, &n), NV_OK);
    EXPECT_EQ(std::string(buf, n), "velho");
    std::vector<NV_EntradaDiretorio> v;
    ASSERT_EQ(NV_ListaDiretorio("/kovra/tmp", "*", &v), NV_OK);
    ASSERT_EQ(v.size(), 1u) << "no rm file may be left";
    EXPECT_EQ(v[0].nome, "x.msg");
    NV_FileClose(&novo);
    ASSERT_EQ(NV_Remove("/kovra/tmp/x.msg", true), NV_OK);
  }
  EXPECT_EQ(NV_Remove("/kovra/tmp/x.msg", true), NV_ENOENT);
  EXPECT_EQ(NV_Remove("/kovra/tmp/x.msg", false), NV_ENOENT);
}

TEST_F(UtilArq, TemporaryFiles) {
  ASSERT_EQ(NV_CriaDiretorio("/kovra/./tmp", true), NV_OK);
  NV_Arquivo f;
  char nome[128];
  ASSERT_EQ(NV_ArquivoTemporario("/kovra/./tmp", "arq_", 6, ".tmp", &f, nome, sizeof nome), NV_OK);
  const std::string n = nome;
  ASSERT_EQ(n.size(), std::strlen("/kovra/./tmp/arq_") + 6 + 4);
  EXPECT_EQ(n.rfind("/kovra/./tmp/arq_", 0), 0u);
  EXPECT_EQ(n.substr(n.size() - 4), ".tmp");
  for (char c : n.substr(17, 6)) EXPECT_TRUE(c == '_' || std::isalnum(static_cast<unsigned char>(c))) << c;
  size_t w = 0;
  EXPECT_EQ(NV_FileWrite(&f, "x", 1, &w), NV_OK);
  NV_FileClose(&f);
  // The name reaches the file through the other calls.
  EXPECT_EQ(ExisteArquivo(nome), 1);
  EXPECT_EQ(NV_Renomeia(nome, "/kovra/tmp/arq_0000.msg", NV_RENOMEIA_NAO_SUBSTITUI), NV_OK);
  EXPECT_EQ(drive.le("kovra/tmp/arq_0000.msg"), "x");
  struct stat st;
  ASSERT_EQ(stat(drive.caminho("kovra/tmp/arq_0000.msg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // Without random characters there is one name only.
  ASSERT_EQ(NV_ArquivoTemporario("/kovra/tmp", "fixo", 0, "", &f, nullptr, 0), NV_OK);
  NV_FileClose(&f);
  EXPECT_EQ(NV_ArquivoTemporario("/kovra/tmp", "FIXO", 0, "", &f, nullptr, 0), NV_EEXIST);
  // Bad arguments.
  char pequeno[8];
  EXPECT_EQ(NV_ArquivoTemporario("/kovra/tmp", "arq_", 6, ".tmp", &f, pequeno, sizeof pequeno),
            NV_ENAMETOOLONG);
  EXPECT_EQ(NV_ArquivoTemporario("/kovra/tmp", "a", -1, "", &f, nullptr, 0), NV_EINVAL);
  EXPECT_EQ(NV_ArquivoTemporario(nullptr, "a", 3, "", &f, nullptr, 0), NV_EINVAL);
  EXPECT_EQ(NV_ArquivoTemporario("/kovra/nada", "a", 3, "", &f, nullptr, 0), NV_ENOENT);
}

TEST_F(UtilArq, TwoThreadsWithTheSamePrefixGetDifferentFiles) {
  ASSERT_EQ(NV_CriaDiretorio("/kovra/tmp", true), NV_OK);
  constexpr int kPorThread = 50;
  int falhas[2] = {0, 0};
  auto cria = [&](int k) {
    for (int i = 0; i < kPorThread; i++) {
      NV_Arquivo f;
      char nome[64];
      if (NV_ArquivoTemporario("/kovra/tmp", "arq_", 2, ".tmp", &f, nome, sizeof nome) != NV_OK)
        falhas[k]++;
    }
  };
  std::thread t0(cria, 0), t1(cria, 1);
  t0.join();
  t1.join();
  EXPECT_EQ(falhas[0] + falhas[1], 0);
  std::vector<NV_EntradaDiretorio> v;
  ASSERT_EQ(NV_ListaDiretorio("/kovra/tmp", "arq_*.tmp", &v), NV_OK);
  EXPECT_EQ(v.size(), 2u * kPorThread);   // every creation made its own file
}

TEST_F(UtilArq, ListingMatchesWithoutRegardToCaseAndSorts) {
  for (const char* n : {"LOG_0315.dat", "log_0314.DAT", "EXT_0315.dat", "log_x", "sub/LOG_0316.dat"})
    drive.escreve(std::string("kovra/log/") + n, "12");
  std::vector<NV_EntradaDiretorio> v;
  ASSERT_EQ(NV_ListaDiretorio("\\kovra\\LOG", "log_????.dat", &v), NV_OK);
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].nome, "LOG_0315.dat");
  EXPECT_EQ(v[1].nome, "log_0314.DAT");
  EXPECT_EQ(v[0].info.tamanho, 2);
  EXPECT_TRUE(v[0].info.regular);
  ASSERT_EQ(NV_ListaDiretorio("/kovra/log", nullptr, &v), NV_OK);
  EXPECT_EQ(v.size(), 5u);
  ASSERT_EQ(NV_ListaDiretorio("/kovra/log", "*.*", &v), NV_OK);
  EXPECT_EQ(v.size(), 5u);   // every name, with a dot or not, as on Windows
  ASSERT_EQ(NV_ListaDiretorio("/kovra/log", "SUB", &v), NV_OK);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_TRUE(v[0].info.diretorio);
  EXPECT_EQ(NV_ListaDiretorio("/kovra/nada", "*", &v), NV_ENOENT);
  EXPECT_TRUE(v.empty());
}

}  // namespace
