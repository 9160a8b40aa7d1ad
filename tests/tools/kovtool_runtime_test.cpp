// kovtool path and kovtool erro through the real binary: the three
// spellings of a system path and the case-insensitive look-up reaching one
// directory, ".." stopped at the drive root, and the names of run-time
// error codes with the refusal of what is no code.
#include <filesystem>

#include "kovtool_apoio.h"

namespace {

using KovtoolPath = KovtoolTeste;

TEST_F(KovtoolPath, SpellingsOfOneDirectoryResolveToIt) {
  drive_.escreve("kovra/Config/Empresas/00000001/x", "");
  const std::string raiz = drive_.raiz();
  struct Caso {
    const char* caminho;
    std::string esperado;
  };
  const Caso kCasos[] = {
      {"/kovra/Config/Empresas/x", raiz + "/kovra/Config/Empresas/x"},
      {"\\kovra\\config\\empresas\\x", raiz + "/kovra/Config/Empresas/x"},
      {"/Kovra/./CONFIG//empresas/x", raiz + "/kovra/Config/Empresas/x"},
      {"../config/empresas/x", raiz + "/kovra/Config/Empresas/x"},
      {"..\\CONFIG\\EMPRESAS\\00000001\\X", raiz + "/kovra/Config/Empresas/00000001/x"},
      // A missing tail is shown as spelled, after the part that exists.
      {"\\kovra\\config\\Novo\\Arq.ini", raiz + "/kovra/Config/Novo/Arq.ini"},
      // ".." from the drive root never climbs above it.
      {"/../../etc/passwd", raiz + "/etc/passwd"},
      {"\\..\\..", raiz},
      {"/kovra/../../..", raiz},
      {"/kovra/bin/../config/../../../empresas", raiz + "/empresas"},
  };
  for (const Caso& c : kCasos) {
    const SaidaProcesso s = Kovtool({"path", c.caminho});
    EXPECT_EQ(s.status, 0) << c.caminho << ": " << s.err;
    EXPECT_EQ(s.out, c.esperado + "\n") << c.caminho;
  }
  // Resolving creates nothing.
  EXPECT_FALSE(std::filesystem::exists(raiz + "/kovra/Config/Novo"));
  EXPECT_FALSE(std::filesystem::exists(raiz + "/etc"));
}

TEST_F(KovtoolPath, BadArgumentsAreRefused) {
  EsperaRecusa({"path"}, 2, "expected one PATH");
  EsperaRecusa({"path", "/a", "/b"}, 2, "expected one PATH");
  EsperaRecusa({"path", ""}, 2, "cannot resolve");
}

using KovtoolErro = KovtoolTeste;

TEST_F(KovtoolErro, NamesOfCodesAndRefusals) {
  struct Caso {
    const char* codigo;
    const char* nome;
  };
  const Caso kCasos[] = {
      {"0", "NV_SUCCESS"},   {"13", "NV_EACCES"},         {"22", "NV_EINVAL"},
      {"34", "NV_ERANGE"},   {"41", "NV_ERROR_UNKNOWN"},  {"-1", "NV_ERROR_UNKNOWN"},
  };
  for (const Caso& c : kCasos) {
    const SaidaProcesso s = Kovtool({"erro", c.codigo});
    EXPECT_EQ(s.status, 0) << c.codigo;
    EXPECT_EQ(s.out, std::string(c.nome) + "\n") << c.codigo;
  }
  for (const char* ruim : {"x", "", "12x", "1.5", "99999999999"})
    EsperaRecusa({"erro", ruim}, 2, "is not a number");
  EsperaRecusa({"erro"}, 2, "expected one CODE");
  EsperaRecusa({"erro", "1", "2"}, 2, "expected one CODE");
}

}  // namespace
