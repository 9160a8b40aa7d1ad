// Look-ups from several threads at once share one database connection,
// one set of prepared statements and the brand tables, and every thread
// still gets its own right answer.
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "basico/prod_fixture.h"
#include "biblkovra/prods_fixture.h"

namespace {

using RegistroConcorrente = RegistroTeste;

TEST_F(RegistroConcorrente, ThreadsGetTheirOwnAnswers) {
  CriaBaseDistribuida();
  EscreveBandeiras("4-4=00001\n45-45=00054\n", "6-6=00003\n");
  drive_.escreve("kovra/config/multibandeira.ini", "[Bandeiras]\n1=54;6;55;\n2=54;3;77;\n");
  Carrega();
  ASSERT_EQ(CarregaBandeiras(kTabBandeiraCredito), 2);

  constexpr int kThreads = 4;
  constexpr int kRodadas = 200;
  std::atomic<int> erros{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &erros] {
      for (int i = 0; i < kRodadas; ++i) {
        char saida[6];
        DadosProduto d;
        switch ((t + i) % 5) {
          case 0:
            if (BuscaCodigoProduto(saida, "015") != 1 || std::strcmp(saida, "10080") != 0) ++erros;
            break;
          case 1:
            if (BuscaCodigoProduto(saida, "099") != 1 || std::strcmp(saida, "00000") != 0) ++erros;
            break;
          case 2:
            BuscaDadosProduto(&d, "050");
            if (BandeiraDoProduto(d) != 900 || d.tipo != kTipoPrivateLabel) ++erros;
            break;
          case 3: {
            if (BuscaBandeira(kTabBandeiraCredito, "4512345678") != 54) ++erros;
            // Before the debit table is in place, "not loaded"; after, its brand.
            const int debito = BuscaBandeira(kTabBandeiraDebito, "600000000");
            if (debito != kBandNaoCarregada && debito != 3) ++erros;
            break;
          }
          default:
            if (VerificaMultiBandeira("00000001", "001") != 1 || VerificaMultiBandeira("00000001", "003") != 0)
              ++erros;
            break;
        }
      }
    });
  }
  // The debit table is loaded while the others look up.
  EXPECT_EQ(CarregaBandeiras(kTabBandeiraDebito), 1);
  for (auto& th : threads) th.join();
  EXPECT_EQ(erros.load(), 0);
  EXPECT_EQ(BuscaBandeira(kTabBandeiraDebito, "600000000"), 3);
}

}  // namespace
