// Message-log lines spooled as 264-byte files "arq_NNNN.msg" in the switch's
// temporary directory under the drive root.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_trace.h"
#include "services/trace.h"
#include "support/drive.h"

namespace fs = std::filesystem;

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class TraceSpool : public ::testing::Test {
 protected:
  void SetUp() override { ReiniciaTrace(); }
  void TearDown() override { ReiniciaTrace(); }

  static std::string Nome(int n) {
    char s[32];
    std::snprintf(s, sizeof s, "kovra/tmp/arq_%04d.msg", n);
    return s;
  }
  std::string Registro(int n) const { return drive_.le(Nome(n)); }
  // The text field of a spooled record, without its zero fill.
  std::string Texto(int n) const {
    const std::string r = Registro(n);
    if (r.size() != kTamRegistroSpool) return "<size " + std::to_string(r.size()) + ">";
    return std::string(r.c_str() + 8, strnlen(r.c_str() + 8, 256));
  }
  // Names of the files in the spool directory.
  std::vector<std::string> Arquivos() const {
    std::vector<std::string> v;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(drive_.caminho("kovra/tmp"), ec))
      v.push_back(e.path().filename().string());
    return v;
  }
  int Temporarios() const {
    int n = 0;
    for (const auto& a : Arquivos()) n += a.size() > 4 && a.substr(a.size() - 4) == ".tmp";
    return n;
  }

  DriveTemp drive_;
};

TEST_F(TraceSpool, RecordLayout) {
  EscreveMensagem("Modulo Tiquetal ativo");
  const std::string r = Registro(0);
  ASSERT_EQ(r.size(), 264u);
  EXPECT_EQ(r.substr(0, 8), "KovTique");  // first 8 characters of "KovTiquetal"
  const std::string texto = "Modulo Tiquetal ativo";
  EXPECT_EQ(r.substr(8, texto.size()), texto);
  EXPECT_EQ(r.substr(8 + texto.size()), std::string(256 - texto.size(), '\0'));
  EXPECT_EQ(Temporarios(), 0);
}

TEST_F(TraceSpool, TextIsCutTo256WithoutTerminator) {
  std::string longo;
  for (int i = 0; i < 300; ++i) longo += static_cast<char>('a' + i % 26);
  EscreveMensagem(longo.c_str());
  const std::string r = Registro(0);
  ASSERT_EQ(r.size(), 264u);
  EXPECT_EQ(r.substr(8), longo.substr(0, 256));

  EscreveMensagemF("%s%s", longo.c_str(), "tail");
  EXPECT_EQ(Registro(1).substr(8), longo.substr(0, 256));

  EscreveMensagemF("NSU %06d rede %03d", 42, 77);
  EXPECT_EQ(Texto(2), "NSU 000042 rede 077");

  EscreveMensagem(nullptr);
  EXPECT_EQ(Registro(3), std::string("KovTique") + std::string(256, '\0'));
}

TEST_F(TraceSpool, NumbersTakenInOrderAndThe101stLineLost) {
  for (int i = 0; i < 100; ++i) EscreveMensagemF("linha %d", i);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(Texto(i), "linha " + std::to_string(i));
  EscreveMensagem("linha perdida");
  EXPECT_EQ(Arquivos().size(), 100u);
  EXPECT_EQ(Temporarios(), 0);
  for (int i = 0; i < 100; ++i) ASSERT_NE(Texto(i), "linha perdida");
}

TEST_F(TraceSpool, TakesTheFirstFreeNumber) {
  struct Caso {
    std::vector<int> presentes;
    int esperado;
  };
  const Caso casos[] = {{{0, 1, 2, 3}, 4}, {{0, 1, 3}, 2}, {{1, 2}, 0}, {{}, 0}};
  for (const Caso& c : casos) {
    std::error_code ec;
    fs::remove_all(drive_.caminho("kovra/tmp"), ec);
    for (int n : c.presentes) drive_.escreve(Nome(n), "switch's file");
    EscreveMensagem("nova");
    EXPECT_EQ(Texto(c.esperado), "nova") << "first free " << c.esperado;
    for (int n : c.presentes) EXPECT_EQ(drive_.le(Nome(n)), "switch's file");
    EXPECT_EQ(Arquivos().size(), c.presentes.size() + 1);
  }
}

TEST_F(TraceSpool, ConcurrentWritersGetDifferentNumbers) {
  constexpr int kPorThread = 25;
  auto escreve = [](int id) {
    for (int i = 0; i < kPorThread; ++i) EscreveMensagemF("thread %d linha %d", id, i);
  };
  std::thread a(escreve, 1), b(escreve, 2);
  a.join();
  b.join();
  std::set<std::string> vistos;
  for (int n = 0; n < 2 * kPorThread; ++n) vistos.insert(Texto(n));
  std::set<std::string> esperados;
  for (int id = 1; id <= 2; ++id)
    for (int i = 0; i < kPorThread; ++i)
      esperados.insert("thread " + std::to_string(id) + " linha " + std::to_string(i));
  EXPECT_EQ(vistos, esperados);
  EXPECT_EQ(Arquivos().size(), static_cast<size_t>(2 * kPorThread));
}

TEST_F(TraceSpool, SpoolDirectoryThatCannotBeMadeLosesTheLine) {
  drive_.escreve("kovra/tmp", "a file where the directory should be");
  CaptureStderr();
  EscreveMensagem("sem diretorio");
  EscreveMensagem("de novo");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(drive_.le("kovra/tmp"), "a file where the directory should be");
}

TEST_F(TraceSpool, SpoolDirectoryRemovedWhileRunningIsMadeAgain) {
  EscreveMensagem("antes");
  std::error_code ec;
  fs::remove_all(drive_.caminho("kovra/tmp"), ec);
  EscreveMensagem("depois");
  EXPECT_EQ(Texto(0), "depois");
}

TEST_F(TraceSpool, RuntimeErrorsLeaveNoTrace) {
  EscreveMensagem("inicio");  // the handler is in place
  CaptureStderr();
  NV_Arquivo f;
  EXPECT_NE(NV_FileOpen(&f, "/kovra/nao/existe.dat", NV_O_RDONLY), 0);
  NV_TraceVarErro var{{"NV_TRACEMSG_LIBC", nullptr}, "open", 2};
  NV_TraceRegistro reg{"NV_TRACEMSG", "nvpr/file", 30, "open failed", __FILE__, __LINE__, &var.var};
  EXPECT_EQ(RegistraTrace(&reg), 0);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(Arquivos().size(), 1u);
}

}  // namespace
