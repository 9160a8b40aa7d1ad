// Transaction log speed, each figure next to its bare-disk limit measured
// in the same run on the same disk:
//  BM_GravaLog: GravaLog (primary record only) on a day file of 10,000
//    records against a loop of pwrite + fdatasync of 214 bytes; counters
//    grava_s, pwrite_s and razao (GravaLog per second over the bare loop).
//  BM_LeLog, BM_RegravaLog: per second on the same file, with the bare loop
//    of the same run and razao over it.
//  BM_RecuperaPendentes: RecuperaPendentesLog over a 90,000-slot file
//    against a bare sequential read of the file; razao is the bare read's
//    time over the recovery's.
//  BM_DoisProcessos: two processes of two threads, 5,000 records each, on
//    one day file; registros_s and a check that every record came back.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/txlog/escritor_log.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "txlog/estado_log.h"
#include "txlog/nsu.h"
#include "txlog/protecao.h"
#include "txlog/txlog.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRegistrosDia = 10000;
constexpr int kSlotsRecupera = 90000;
constexpr int kLotes = 40;

// A drive root of its own under /tmp, the working directory at kovra/bin.
class DriveBench {
 public:
  DriveBench() {
    char modelo[] = "/tmp/kovbench.XXXXXX";
    if (mkdtemp(modelo) == nullptr) std::abort();
    raiz_ = modelo;
    fs::create_directories(raiz_ + "/kovra/bin");
    antigo_ = fs::current_path();
    setenv("KOVRA_DRIVE", raiz_.c_str(), 1);
    fs::current_path(raiz_ + "/kovra/bin");
    ReiniciaCacheIni();
    ReiniciaLog();
  }
  ~DriveBench() {
    ReiniciaLog();
    ReiniciaCacheIni();
    std::error_code ec;
    fs::current_path(antigo_, ec);
    fs::remove_all(raiz_, ec);
    unsetenv("KOVRA_DRIVE");
  }
  std::string raiz_;
  fs::path antigo_;
};

RegistroLog RegistroBench(int i) {
  RegistroLog r{};
  std::snprintf(r.Terminal, sizeof r.Terminal, "PDV%05u", static_cast<unsigned>(i) % 100000u);
  std::snprintf(r.Cartao, sizeof r.Cartao, "476173900%07d", i % 10000000);
  std::snprintf(r.Valor, sizeof r.Valor, "%d", 100 + i % 100000);
  std::memcpy(r.Empresa, "00000001", 9);
  r.Rede = 77;
  r.CodTrn = 1;   // no secondary record
  r.Estado = 2;
  return r;
}

void DefineBench() {
  DefinicaoLog def;
  DefinicaoLogModulo(&def);
  if (DefineLog(&def) != 0) std::abort();
}

// Today's primary file, written in one go with `n` records after the header.
std::string FazArquivoDoDia(int n) {
  NV_DataHora hoje;
  NV_HoraLocal(&hoje);
  char nome[64];
  std::snprintf(nome, sizeof nome, "/kovra/./log/LOG_%02d%02d.dat", hoje.mes, hoje.dia);
  NV_CriaDiretorio("/kovra/./log", true);
  std::vector<uint8_t> dados(static_cast<size_t>(n + 1) * kTamRegistroLog);
  char cabecalho[32];
  std::snprintf(cabecalho, sizeof cabecalho, "%02d/%02d/%02d 0200", hoje.dia, hoje.mes,
                hoje.ano % 100);
  std::memcpy(dados.data(), cabecalho, 14);
  for (int i = 1; i <= n; i++) {
    RegistroLog r = RegistroBench(i);
    NsuDoSlot(i, hoje.dia, r.Nsu);
    EmbaralhaArea(reinterpret_cast<uint8_t*>(r.Cartao), sizeof r.Cartao);
    std::memcpy(dados.data() + static_cast<size_t>(i) * kTamRegistroLog, &r, kTamRegistroLog);
  }
  NV_Arquivo f;
  if (NV_FileOpen(&f, nome, NV_O_RDWR | NV_O_CREAT | NV_O_TRUNC) != 0) std::abort();
  size_t escritos = 0;
  NV_FileWriteAt(&f, 0, dados.data(), dados.size(), &escritos);
  NV_FileFlush(&f);
  char mmdd[8];
  std::snprintf(mmdd, sizeof mmdd, "%02d%02d", hoje.mes, hoje.dia);
  return mmdd;
}

double Segundos(int64_t inicio) {
  return static_cast<double>(NV_RelogioMonotonico() - inicio) / 1e9;
}

// pwrite + fdatasync of 214 bytes, appended, `n` times; seconds taken.  The
// bare file starts as large as a day file of 10,000 records and grows like
// it, so both loops make the disk do the same work (a flush of a small new
// file is cheaper than one at the end of a 2 MB file).
double LacoBruto(int n) {
  NV_Arquivo f;
  if (NV_FileOpen(&f, "/kovra/./log/bruto.dat", NV_O_RDWR | NV_O_CREAT) != 0) std::abort();
  int64_t fim = 0;
  NV_FileSize(&f, &fim);
  if (fim == 0) {
    const std::vector<uint8_t> zeros(static_cast<size_t>(kRegistrosDia + 1) * kTamRegistroLog);
    size_t escritos = 0;
    NV_FileWriteAt(&f, 0, zeros.data(), zeros.size(), &escritos);
    NV_FileFlush(&f);
    fim = static_cast<int64_t>(zeros.size());
  }
  RegistroLog r = RegistroBench(1);
  const int64_t t0 = NV_RelogioMonotonico();
  for (int i = 0; i < n; i++) {
    size_t escritos = 0;
    NV_FileWriteAt(&f, fim + static_cast<int64_t>(i) * kTamRegistroLog, &r, sizeof r, &escritos);
    NV_FileFlush(&f);
  }
  return Segundos(t0);
}

void BM_GravaLog(benchmark::State& state) {
  DriveBench drive;
  const int n = static_cast<int>(state.range(0));
  double t_grava = 0, t_bruto = 0;
  int64_t feitos = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ReiniciaLog();
    FazArquivoDoDia(kRegistrosDia);
    DefineBench();
    state.ResumeTiming();
    // Alternating small batches keep both loops under the same disk
    // conditions while other work shares the disk.
    for (int lote = 0; lote < kLotes; lote++) {
      t_bruto += LacoBruto(n / kLotes);
      const int64_t t0 = NV_RelogioMonotonico();
      for (int i = 0; i < n / kLotes; i++) {
        RegistroLog r = RegistroBench(i);
        if (GravaLog("00000001", &r, nullptr, nullptr) != 0) state.SkipWithError("GravaLog failed");
      }
      t_grava += Segundos(t0);
    }
    feitos += n;
  }
  state.counters["grava_s"] = static_cast<double>(feitos) / t_grava;
  state.counters["pwrite_s"] = static_cast<double>(feitos) / t_bruto;
  state.counters["razao"] = t_bruto / t_grava;
}
BENCHMARK(BM_GravaLog)->Arg(4000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LeLog(benchmark::State& state) {
  DriveBench drive;
  const std::string mmdd = FazArquivoDoDia(kRegistrosDia);
  DefineBench();
  NV_DataHora hoje;
  NV_HoraLocal(&hoje);
  const double pwrite_s = 500 / LacoBruto(500);
  uint32_t x = 12345;
  int64_t feitos = 0;
  const int64_t t0 = NV_RelogioMonotonico();
  for (auto _ : state) {
    x = x * 1103515245u + 12345u;
    char nsu[7];
    NsuDoSlot(1 + static_cast<int>(x % kRegistrosDia), hoje.dia, nsu);
    RegistroLog r;
    if (LeLog("00000001", &r, nullptr, nsu, mmdd.c_str()) != 0) state.SkipWithError("LeLog failed");
    feitos++;
  }
  state.counters["le_s"] = benchmark::Counter(static_cast<double>(feitos), benchmark::Counter::kIsRate);
  // The bare write loop of the same run, for the table: LeLog takes no
  // flush, so its razao (reads per second over bare writes) is above 1.
  state.counters["pwrite_s"] = pwrite_s;
  state.counters["razao"] = static_cast<double>(feitos) / Segundos(t0) / pwrite_s;
}
BENCHMARK(BM_LeLog)->Unit(benchmark::kMicrosecond);

void BM_RegravaLog(benchmark::State& state) {
  DriveBench drive;
  const std::string mmdd = FazArquivoDoDia(kRegistrosDia);
  DefineBench();
  NV_DataHora hoje;
  NV_HoraLocal(&hoje);
  const int n = static_cast<int>(state.range(0));
  double t_regrava = 0, t_bruto = 0;
  for (auto _ : state) {
    for (int lote = 0; lote < kLotes; lote++) {
      t_bruto += LacoBruto(n / kLotes);
      const int64_t t0 = NV_RelogioMonotonico();
      for (int i = lote * (n / kLotes); i < (lote + 1) * (n / kLotes); i++) {
        char nsu[7];
        NsuDoSlot(1 + i % kRegistrosDia, hoje.dia, nsu);
        RegistroLog r = RegistroBench(i);
        r.Estado = 4;
        if (RegravaLog("00000001", &r, nullptr, nsu, mmdd.c_str()) != 0)
          state.SkipWithError("RegravaLog failed");
      }
      t_regrava += Segundos(t0);
    }
  }
  state.counters["regrava_s"] = n * static_cast<double>(state.iterations()) / t_regrava;
  state.counters["pwrite_s"] = n * static_cast<double>(state.iterations()) / t_bruto;
  state.counters["razao"] = t_bruto / t_regrava;
}
BENCHMARK(BM_RegravaLog)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

int g_recuperados = 0;
int ContaRecuperados(void*, void*, const char*) {
  g_recuperados++;
  return 0;
}

void BM_RecuperaPendentes(benchmark::State& state) {
  DriveBench drive;
  const std::string mmdd = FazArquivoDoDia(kSlotsRecupera - 1);
  DefineBench();
  double t_recupera = 0, t_bruto = 0;
  std::vector<uint8_t> bloco(65536);
  for (auto _ : state) {
    int64_t t0 = NV_RelogioMonotonico();
    NV_Arquivo f;
    NV_FileOpen(&f, ("/kovra/./log/LOG_" + mmdd + ".dat").c_str(), NV_O_RDONLY);
    size_t lidos = 0, total = 0;
    do {
      NV_FileRead(&f, bloco.data(), bloco.size(), &lidos);
      total += lidos;
    } while (lidos > 0);
    benchmark::DoNotOptimize(total);
    t_bruto += Segundos(t0);
    NV_FileClose(&f);

    g_recuperados = 0;
    RegistroLog r;
    RegistroLogSecundario s;
    t0 = NV_RelogioMonotonico();
    RecuperaPendentesLog(&r, &s, 1, ContaRecuperados);
    t_recupera += Segundos(t0);
    if (g_recuperados != kSlotsRecupera - 1) state.SkipWithError("recovery missed slots");
  }
  state.counters["slots"] = g_recuperados;
  state.counters["recupera_ms"] = 1000 * t_recupera / static_cast<double>(state.iterations());
  state.counters["leitura_ms"] = 1000 * t_bruto / static_cast<double>(state.iterations());
  state.counters["razao"] = t_bruto / t_recupera;
}
BENCHMARK(BM_RecuperaPendentes)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DoisProcessos(benchmark::State& state) {
  constexpr int kProcessos = 2, kThreads = 2;
  const int por_thread = static_cast<int>(state.range(0)) / kThreads;
  DriveBench drive;
  double segundos = 0;
  for (auto _ : state) {
    ReiniciaLog();
    DefineBench();
    RegistroLog primeiro = RegistroBench(0);
    GravaLog("00000001", &primeiro, nullptr, nullptr);
    const int64_t t0 = NV_RelogioMonotonico();
    std::vector<pid_t> filhos;
    for (int p = 0; p < kProcessos; p++) {
      const pid_t pid = fork();
      if (pid == 0) _exit(EscritorLog(p, kThreads, por_thread));
      filhos.push_back(pid);
    }
    bool ok = true;
    for (pid_t pid : filhos) {
      int status = 0;
      ok = waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    segundos += Segundos(t0);
    // Every record back, whole, each once.
    NV_DataHora hoje;
    NV_HoraLocal(&hoje);
    char mmdd[8];
    std::snprintf(mmdd, sizeof mmdd, "%02d%02d", hoje.mes, hoje.dia);
    VarreduraLog v;
    int lidos = 0;
    if (AbreVarreduraLog(&v, "00000001", mmdd, LOG_VARREDURA_FRENTE) == 0) {
      RegistroLog r;
      RegistroLogSecundario s;
      ProximoLog(&v, &r, &s);
      while (ProximoLog(&v, &r, &s) == 0) ok = ConfereRegistroEscrito(r, s) == 0 && ok, lidos++;
      FechaVarreduraLog(&v);
    }
    if (!ok || lidos != kProcessos * kThreads * por_thread) state.SkipWithError("records lost");
    state.counters["registros"] = lidos;
    fs::remove_all(drive.raiz_ + "/kovra/log");
  }
  state.counters["registros_s"] =
      kProcessos * kThreads * por_thread * static_cast<double>(state.iterations()) / segundos;
}
BENCHMARK(BM_DoisProcessos)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
