// The establishment index: registering, refreshing, reading a company's log
// through it, and dropping its older half when it cannot grow.
#include <cstring>
#include <string>

#include "log_fixture.h"

namespace {

using Estabelecimento = LogTeste;

TEST_F(Estabelecimento, FindsTheCompanyOfACode) {
  Configura("[LogRede_077]\nTipoLog=3\n");
  ASSERT_EQ(Define(), 0);
  RegistroLog r = Venda("6062825555000011");
  ASSERT_EQ(Grava(&r, nullptr, nullptr, "00000007"), 0);
  ASSERT_EQ(AssociaEstabelecimento("00000007", "123456789012345"), 0);
  RegistroLog lido{};
  ASSERT_EQ(LeLogPorEstabelecimento("123456789012345", &lido, nullptr, "050001", "0305"), 0);
  EXPECT_STREQ(lido.Cartao, "6062825555000011");
  EXPECT_EQ(LeLogPorEstabelecimento("999999999999999", &lido, nullptr, "050001", "0305"),
            LOG_NAO_EXISTE);
  // Refreshing moves the code to another company.
  ASSERT_EQ(AssociaEstabelecimento("00000008", "123456789012345"), 0);
  EXPECT_LT(LeLogPorEstabelecimento("123456789012345", &lido, nullptr, "050001", "0305"), 0);
  ASSERT_EQ(g_log.estabelecimentos.size(), 1u);
  // A shorter code is the same code padded with spaces.
  ASSERT_EQ(AssociaEstabelecimento("00000007", "4321"), 0);
  EXPECT_EQ(LeLogPorEstabelecimento("4321           ", &lido, nullptr, "050001", "0305"), 0);
}

TEST_F(Estabelecimento, OlderHalfIsDroppedWhenFull) {
  ASSERT_EQ(Define(), 0);
  g_log.max_estabelecimentos = 0;
  g_log.estabelecimentos.reserve(4);
  for (const char* codigo : {"000000000000001", "000000000000002", "000000000000003",
                             "000000000000004"})
    ASSERT_EQ(AssociaEstabelecimento("00000001", codigo), 0);
  ASSERT_EQ(AssociaEstabelecimento("00000002", "000000000000001"), 0);   // set again: newest
  ASSERT_EQ(AssociaEstabelecimento("00000003", "000000000000005"), 0);
  std::string codigos;
  for (const auto& e : g_log.estabelecimentos) codigos += std::string(e.codigo + 14, 1);
  EXPECT_EQ(codigos, "145");
}

}  // namespace
