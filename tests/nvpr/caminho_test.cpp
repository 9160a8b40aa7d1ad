// The path layer: the three spellings of a path, case-insensitive lookup of
// existing components, ".." held at the drive root, and bad input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "nvpr/nv_error.h"
#include "nvpr/nv_path.h"
#include "support/drive.h"

namespace {

struct Caminho : ::testing::Test {
  DriveTemp drive;
  std::string Em(const std::string& rel) const { return drive.caminho(rel); }
};

TEST_F(Caminho, SpellingsReachTheSameFile) {
  drive.escreve("kovra/config/empresas/x", "1");
  const std::string alvo = Em("kovra/config/empresas/x");
  const char* grafias[] = {
      "/kovra/Config/Empresas/x",
      "\\kovra\\config\\empresas\\x",
      "/Kovra/CONFIG/empresas/X",
      "/kovra/./config//empresas/./x",
      "\\kovra/config\\Empresas/x",
      "../config/empresas/x",       // from <drive>/kovra/bin
      "./../CONFIG/Empresas/x",
      "/kovra/bin/../config/empresas/x",
  };
  for (const char* g : grafias) EXPECT_EQ(NV_Caminho(g), alvo) << g;
}

TEST_F(Caminho, MissingTailIsKeptAsSpelled) {
  drive.escreve("kovra/config/a.ini", "");
  struct Caso {
    const char* entrada;
    const char* esperado;
  };
  const Caso casos[] = {
      {"/KOVRA/Config/Novo/Sub/F.txt", "kovra/config/Novo/Sub/F.txt"},
      {"/kovra/config/A.INI", "kovra/config/a.ini"},
      {"/kovra/config/", "kovra/config"},
      {"/Nada/kovra", "Nada/kovra"},   // after a missing component nothing is looked up
  };
  for (const auto& c : casos) EXPECT_EQ(NV_Caminho(c.entrada), Em(c.esperado)) << c.entrada;
}

TEST_F(Caminho, DotDotNeverClimbsAboveTheDriveRoot) {
  drive.escreve("kovra/config/x", "");
  const char* casos[] = {"/../kovra/config/x", "/kovra/../../../kovra/config/x",
                         "\\..\\..\\kovra\\config\\x"};
  for (const char* c : casos) EXPECT_EQ(NV_Caminho(c), Em("kovra/config/x")) << c;
  EXPECT_EQ(NV_Caminho("/.."), drive.raiz());
  EXPECT_EQ(NV_Caminho("/"), drive.raiz());
}

TEST_F(Caminho, RelativePathsStartAtTheWorkingDirectory) {
  EXPECT_EQ(NV_Caminho("f.dat"), Em("kovra/bin/f.dat"));
  EXPECT_EQ(NV_Caminho("."), Em("kovra/bin"));
  EXPECT_EQ(NV_Caminho("..\\log\\LOG_0315.dat"), Em("kovra/log/LOG_0315.dat"));
}

TEST_F(Caminho, AmbiguousSpellingChoosesTheSmallestName) {
  drive.escreve("kovra/Dados/a", "");
  drive.escreve("kovra/dados/b", "");
  EXPECT_EQ(NV_Caminho("/kovra/DADOS/a"), Em("kovra/Dados/a"));
  // An exact match wins over the others.
  EXPECT_EQ(NV_Caminho("/kovra/dados/b"), Em("kovra/dados/b"));
}

TEST_F(Caminho, DriveRootFromTheEnvironment) {
  EXPECT_EQ(NV_RaizDrive(), drive.raiz());
  setenv("KOVRA_DRIVE", (drive.raiz() + "//").c_str(), 1);
  EXPECT_EQ(NV_RaizDrive(), drive.raiz());
  unsetenv("KOVRA_DRIVE");
  EXPECT_EQ(NV_RaizDrive(), "/");
  EXPECT_EQ(NV_Caminho("\\tmp"), "/tmp");
  setenv("KOVRA_DRIVE", drive.raiz().c_str(), 1);
}

TEST_F(Caminho, RelativeDriveRootIsTakenFromTheWorkingDirectory) {
  // The working directory is <drive>/kovra/bin; a relative root names a
  // directory from there, never one at the top of the file system.
  for (const char* raiz : {"sandbox", "./sandbox/", "../bin/./sandbox"}) {
    setenv("KOVRA_DRIVE", raiz, 1);
    EXPECT_EQ(NV_RaizDrive(), Em("kovra/bin/sandbox")) << raiz;
    EXPECT_EQ(NV_Caminho("\\kovra\\config"), Em("kovra/bin/sandbox/kovra/config")) << raiz;
  }
  setenv("KOVRA_DRIVE", drive.raiz().c_str(), 1);
}

TEST_F(Caminho, BadInputAndSmallBuffers) {
  char buf[8];
  EXPECT_EQ(NV_ResolveCaminho(nullptr, buf, sizeof buf), NV_EINVAL);
  EXPECT_EQ(NV_ResolveCaminho("", buf, sizeof buf), NV_EINVAL);
  EXPECT_EQ(NV_ResolveCaminho("/x", buf, 0), NV_EINVAL);
  EXPECT_EQ(NV_ResolveCaminho("/kovra/config/longo", buf, sizeof buf), NV_ENAMETOOLONG);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(NV_Caminho(""), "");
  char grande[4096];
  ASSERT_EQ(NV_ResolveCaminho("/kovra", grande, sizeof grande), NV_OK);
  EXPECT_EQ(std::string(grande), Em("kovra"));
}

}  // namespace
