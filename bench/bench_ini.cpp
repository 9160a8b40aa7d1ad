// Ini cache speed.  BM_IniLeituraEmCache: a cached LeIniString of one key
// of a 200-key file against a bare stat() of the same file, in the same
// run; counters ns_leitura and ns_stat per call, and razao (the target is
// at most 2.0).  BM_IniOitoThreads: eight threads reading one file while
// another program replaces it now and then; counters: calls per second,
// parses, and changes of the file (one parse per change is expected, plus
// the first load).
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "nvpr/nv_file.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_path.h"
#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "services/ini_cache.h"

namespace {

constexpr const char* kArquivo = "/kovra/./config/bench.ini";
constexpr int kChaves = 200;
constexpr int kLote = 64;

// A temporary drive root with kovra/config, removed afterwards.
struct DriveIni {
  std::string raiz;
  DriveIni() {
    char modelo[] = "/tmp/kovbench_ini.XXXXXX";
    if (mkdtemp(modelo) == nullptr) std::abort();
    raiz = modelo;
    setenv("KOVRA_DRIVE", raiz.c_str(), 1);
    NV_CriaDiretorio("/kovra/config", true);
  }
  ~DriveIni() {
    ReiniciaCacheIni();
    std::error_code ec;
    std::filesystem::remove_all(raiz, ec);
  }
};

std::string Conteudo(int versao) {
  std::string s = "; bench\r\n[Geral]\r\n";
  for (int i = 0; i < kChaves; ++i)
    s += "Chave" + std::to_string(i) + "=valor " + std::to_string(i * versao) + "\r\n";
  return s;
}

// Writes the file the way another program would: a new file renamed over it.
void Substitui(int versao) {
  std::string s = Conteudo(versao);
  NV_Arquivo f;
  size_t n = 0;
  if (NV_FileOpen(&f, "/kovra/config/bench.new", NV_O_WRONLY | NV_O_CREAT | NV_O_TRUNC) != 0 ||
      NV_FileWrite(&f, s.data(), s.size(), &n) != 0)
    std::abort();
  NV_FileClose(&f);
  if (NV_Renomeia("/kovra/config/bench.new", kArquivo, NV_RENOMEIA_SUBSTITUI) != 0) std::abort();
}

void BM_IniLeituraEmCache(benchmark::State& state) {
  DriveIni drive;
  ReiniciaCacheIni();
  Substitui(1);
  const std::string linux_path = NV_Caminho(kArquivo);
  char buf[64];
  LeIniString("Geral", "Chave100", "", buf, sizeof buf, kArquivo);   // the first load
  int64_t ns_ini = 0, ns_stat = 0;
  for (auto _ : state) {
    const int64_t t0 = NV_RelogioMonotonico();
    for (int i = 0; i < kLote; ++i)
      benchmark::DoNotOptimize(LeIniString("Geral", "Chave100", "", buf, sizeof buf, kArquivo));
    const int64_t t1 = NV_RelogioMonotonico();
    for (int i = 0; i < kLote; ++i) {
      struct stat st;
      benchmark::DoNotOptimize(stat(linux_path.c_str(), &st));
    }
    const int64_t t2 = NV_RelogioMonotonico();
    ns_ini += t1 - t0;
    ns_stat += t2 - t1;
  }
  const double chamadas = static_cast<double>(state.iterations()) * kLote;
  const double leitura = static_cast<double>(ns_ini) / chamadas;
  const double so_stat = static_cast<double>(ns_stat) / chamadas;
  state.counters["ns_leitura"] = leitura;
  state.counters["ns_stat"] = so_stat;
  state.counters["razao"] = so_stat > 0 ? leitura / so_stat : 0;
}
BENCHMARK(BM_IniLeituraEmCache);

// Shared by the eight threads of one run; set up by thread 0 before the
// loop, whose start is a barrier for all of them.
struct EstadoOitoThreads {
  std::unique_ptr<DriveIni> drive;
  uint64_t cargas_antes = 0;
  int mudancas = 0;
};
EstadoOitoThreads oito;

void BM_IniOitoThreads(benchmark::State& state) {
  if (state.thread_index() == 0) {
    oito.drive = std::make_unique<DriveIni>();
    ReiniciaCacheIni();
    Substitui(1);
    oito.mudancas = 0;
    EstatisticaIni e;
    LeEstatisticaIni(&e);
    oito.cargas_antes = e.cargas;
  }
  char buf[64];
  int64_t n = 0;
  for (auto _ : state) {
    std::string chave = "Chave" + std::to_string((n * 7 + state.thread_index()) % kChaves);
    benchmark::DoNotOptimize(LeIniString("Geral", chave.c_str(), "", buf, sizeof buf, kArquivo));
    if (state.thread_index() == 0 && ++n % 20000 == 0) {
      Substitui(static_cast<int>(n / 20000) + 1);
      ++oito.mudancas;
    }
  }
  state.counters["chamadas_por_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  if (state.thread_index() == 0) {
    EstatisticaIni e;
    LeEstatisticaIni(&e);
    state.counters["cargas"] = static_cast<double>(e.cargas - oito.cargas_antes);
    state.counters["mudancas"] = oito.mudancas;
    oito.drive.reset();
  }
}
BENCHMARK(BM_IniOitoThreads)->Threads(8)->UseRealTime();

}  // namespace
