// Audit records handed through the trace dispatcher to the installed audit
// writer, and the re-entry guard seen from the module's side.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "services/trace.h"
#include "support/drive.h"

namespace {

// What the test writer saw (a plain function pointer has no captures).
struct Capturado {
  int chamadas = 0;
  uint8_t tipo = 0;
  std::string dados;
  int num_mascaras = 0;
  MascaraAudit primeira{};
  std::string arquivo;
  int linha = 0;
};
Capturado g_cap;

int GravadorTeste(const NV_TraceVarAudit* reg) {
  ++g_cap.chamadas;
  g_cap.tipo = reg->tipo;
  g_cap.dados.assign(static_cast<const char*>(reg->dados), reg->tam);
  g_cap.num_mascaras = reg->num_mascaras;
  if (reg->num_mascaras > 0) g_cap.primeira = reg->mascaras[0];
  g_cap.arquivo = reg->arquivo != nullptr ? reg->arquivo : "";
  g_cap.linha = reg->linha;
  return 0;
}

// A writer that itself traces: the line must be dropped, never recurse.
int GravadorQueEscreve(const NV_TraceVarAudit* reg) {
  ++g_cap.chamadas;
  EscreveMensagem("escrita de dentro do gravador");
  GravaAudit(reg->tipo, reg->dados, reg->tam, nullptr, 0, nullptr, 0);
  return 0;
}

class TraceAudit : public ::testing::Test {
 protected:
  void SetUp() override {
    ReiniciaTrace();
    g_cap = Capturado{};
  }
  void TearDown() override { ReiniciaTrace(); }
  DriveTemp drive_;
};

TEST_F(TraceAudit, RecordReachesTheInstalledWriter) {
  InstalaGravadorAudit(GravadorTeste);
  const char dados[] = "0200 4761730000000010";
  const MascaraAudit mascaras[] = {{5, 16}};
  GravaAudit(65, dados, std::strlen(dados), mascaras, 1, "fluxo.cpp", 321);
  ASSERT_EQ(g_cap.chamadas, 1);
  EXPECT_EQ(g_cap.tipo, 65);
  EXPECT_EQ(g_cap.dados, dados);
  EXPECT_EQ(g_cap.num_mascaras, 1);
  EXPECT_EQ(g_cap.primeira.pos, 5);
  EXPECT_EQ(g_cap.primeira.tam, 16);
  EXPECT_EQ(g_cap.arquivo, "fluxo.cpp");
  EXPECT_EQ(g_cap.linha, 321);
  EXPECT_FALSE(drive_.existe("kovra/tmp/arq_0000.msg"));  // not a message-log line
}

TEST_F(TraceAudit, WithoutWriterTheRecordIsDropped) {
  GravaAudit(0, "x", 1, nullptr, 0, nullptr, 0);
  InstalaGravadorAudit(GravadorTeste);
  ReiniciaTrace();  // forgets the writer
  GravaAudit(0, "x", 1, nullptr, 0, nullptr, 0);
  EXPECT_EQ(g_cap.chamadas, 0);
}

TEST_F(TraceAudit, TraceRaisedInsideTheWriterIsDropped) {
  InstalaGravadorAudit(GravadorQueEscreve);
  GravaAudit(49, "abc", 3, nullptr, 0, nullptr, 0);
  EXPECT_EQ(g_cap.chamadas, 1);
  EXPECT_FALSE(drive_.existe("kovra/tmp/arq_0000.msg"));
  // Outside the writer the same thread traces normally again.
  EscreveMensagem("depois");
  EXPECT_TRUE(drive_.existe("kovra/tmp/arq_0000.msg"));
}

}  // namespace
