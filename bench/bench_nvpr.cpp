// Speed of the run-time's hot paths: path resolution (exact spelling and
// another letter case), region lock and unlock, the recursive mutex, and a
// temporary file created and removed.  Counter "vezes_exato": how many
// times slower a path in another case resolves than the exact spelling.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "nvpr/nv_file.h"
#include "nvpr/nv_filelock.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_path.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"

namespace {

// A temporary drive root with the module's tree, made once for the whole
// program and removed at its end; KOVRA_DRIVE points at it while these
// benchmarks run.
struct DriveBench {
  std::string raiz;
  ~DriveBench() {
    std::error_code ec;
    if (!raiz.empty()) std::filesystem::remove_all(raiz, ec);
  }
};
DriveBench drive;

void Drive() {
  if (!drive.raiz.empty()) {
    setenv("KOVRA_DRIVE", drive.raiz.c_str(), 1);
    return;
  }
  {
    char modelo[] = "/tmp/kovbench.XXXXXX";
    const char* d = mkdtemp(modelo);
    if (d == nullptr) std::abort();
    drive.raiz = d;
    setenv("KOVRA_DRIVE", d, 1);
    NV_CriaDiretorio("/kovra/config/empresas/00000001", true);
    NV_CriaDiretorio("/kovra/log", true);
    NV_CriaDiretorio("/kovra/tmp", true);
    for (int i = 0; i < 40; i++) {   // a directory with some company folders
      std::string p = "/kovra/config/empresas/" + std::to_string(10000000 + i);
      NV_CriaDiretorio(p.c_str(), false);
    }
    NV_Arquivo f;
    NV_FileOpen(&f, "/kovra/log/LOG_0315.dat", NV_O_RDWR | NV_O_CREAT);
  }
}

int64_t Resolve(const char* caminho, int vezes) {
  char buf[512];
  const int64_t t0 = NV_RelogioMonotonico();
  for (int i = 0; i < vezes; i++) {
    NV_ResolveCaminho(caminho, buf, sizeof buf);
    benchmark::DoNotOptimize(buf);
  }
  return NV_RelogioMonotonico() - t0;
}

void BM_CaminhoExato(benchmark::State& st) {
  Drive();
  char buf[512];
  for (auto _ : st) {
    NV_ResolveCaminho("/kovra/config/empresas/00000001", buf, sizeof buf);
    benchmark::DoNotOptimize(buf);
  }
}
BENCHMARK(BM_CaminhoExato);

void BM_CaminhoOutraCaixa(benchmark::State& st) {
  Drive();
  char buf[512];
  double razao = 0;
  for (auto _ : st) {
    NV_ResolveCaminho("\\Kovra\\Config\\Empresas\\00000001", buf, sizeof buf);
    benchmark::DoNotOptimize(buf);
  }
  const int64_t exato = Resolve("/kovra/config/empresas/00000001", 2000);
  const int64_t caixa = Resolve("\\Kovra\\Config\\Empresas\\00000001", 2000);
  if (exato > 0) razao = static_cast<double>(caixa) / static_cast<double>(exato);
  st.counters["vezes_exato"] = razao;
}
BENCHMARK(BM_CaminhoOutraCaixa);

void BM_TravaRegiao(benchmark::State& st) {
  Drive();
  NV_Arquivo f;
  NV_FileOpen(&f, "/kovra/log/LOG_0315.dat", NV_O_RDWR);
  for (auto _ : st) {
    NV_FileLock(&f, 0, 1, NV_LOCK_EXTENDIDO | NV_LOCK_EXCLUSIVO);
    NV_FileUnlock(&f, 0, 1);
  }
}
BENCHMARK(BM_TravaRegiao);

void BM_MutexRecursivo(benchmark::State& st) {
  NV_Mutex mx;
  for (auto _ : st) {
    NV_MutexLock(&mx);
    NV_MutexUnlock(&mx);
  }
}
BENCHMARK(BM_MutexRecursivo);

void BM_ArquivoTemporario(benchmark::State& st) {
  Drive();
  char nome[256];
  for (auto _ : st) {
    NV_Arquivo f;
    NV_ArquivoTemporario("/kovra/./tmp", "arq_", 6, ".tmp", &f, nome, sizeof nome);
    NV_FileClose(&f);
    NV_Remove(nome, true);
  }
}
BENCHMARK(BM_ArquivoTemporario);

}  // namespace
