// Two processes of two threads each append to the same day file at full
// speed, as the switch's processes do: every NSU is handed out once, every
// record reads back intact, and no slot is lost or overwritten.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "log_fixture.h"
#include "escritor_log.h"

namespace {

using Multiprocesso = LogTeste;

TEST_F(Multiprocesso, TwoProcessesTwoThreadsEach) {
  constexpr int kProcessos = 2, kThreads = 2, kPorThread = 150;
  ASSERT_EQ(Define(), 0);
  // The day's files exist before the writers start, as on a running switch.
  RegistroLog primeiro = Venda();
  primeiro.CodTrn = 1;
  ASSERT_EQ(Grava(&primeiro, nullptr, nullptr), 0);

  std::vector<pid_t> filhos;
  for (int p = 0; p < kProcessos; p++) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(EscritorLog(p, kThreads, kPorThread));
    filhos.push_back(pid);
  }
  for (pid_t pid : filhos) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }

  const int total = kProcessos * kThreads * kPorThread;
  EXPECT_EQ(std::filesystem::file_size(drive_.caminho("kovra/log/LOG_0305.dat")),
            static_cast<uintmax_t>(total + 2) * kTamRegistroLog);
  std::set<std::string> vistos;
  VarreduraLog v;
  ASSERT_EQ(AbreVarreduraLog(&v, "00000001", "0305", LOG_VARREDURA_FRENTE), 0);
  RegistroLog r{};
  RegistroLogSecundario s{};
  ASSERT_EQ(ProximoLog(&v, &r, &s), 0);   // the record written before the writers
  int lidos = 0, rc;
  while ((rc = ProximoLog(&v, &r, &s)) == 0) {
    lidos++;
    ASSERT_EQ(ConfereRegistroEscrito(r, s), 0) << "slot " << v.slot_lido;
    EXPECT_TRUE(vistos.insert(std::string(r.Terminal) + "/" + r.Valor).second) << r.Nsu;
  }
  EXPECT_EQ(rc, LOG_FIM_VARREDURA);
  FechaVarreduraLog(&v);
  EXPECT_EQ(lidos, total);
  EXPECT_EQ(static_cast<int>(vistos.size()), total);
}

}  // namespace
