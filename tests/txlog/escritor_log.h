// One writer process of the multi-process log checks, shared by the test
// suite and the benchmark: it forgets the handles inherited from its parent,
// defines the log afresh, and appends records from several threads; each
// record carries its writer, thread and sequence number in both parts, so a
// reader can tell that it came back intact.
#pragma once
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "txlog/estado_log.h"
#include "txlog/txlog.h"

// Appends `por_thread` records from each of `threads` threads; 0 when every
// GravaLog succeeded.
inline int EscritorLog(int processo, int threads, int por_thread) {
  ReiniciaLog();   // the parent's open files are shared descriptions: never reuse them
  DefinicaoLog def;
  DefinicaoLogModulo(&def);
  if (DefineLog(&def) != 0) return 10;
  std::atomic<int> falhas{0};
  std::vector<std::thread> ts;
  for (int t = 0; t < threads; t++) {
    ts.emplace_back([&, t] {
      for (int i = 0; i < por_thread; i++) {
        RegistroLog r{};
        RegistroLogSecundario s{};
        std::snprintf(r.Terminal, sizeof r.Terminal, "P%02dT%02d", processo, t);
        std::snprintf(r.Valor, sizeof r.Valor, "%06d", i % 1000000);
        std::snprintf(r.Cartao, sizeof r.Cartao, "47617390%06d", i % 1000000);
        std::memcpy(r.Empresa, "00000001", 9);
        r.Rede = 77;
        r.CodTrn = '0';
        r.Estado = 1;
        std::snprintf(s.FrotaCampo1, sizeof s.FrotaCampo1, "%.6s/%.6s", r.Terminal, r.Valor);
        const SaidaLog saidas[] = {{LOG_SAIDA_NSU_TEXTO, r.Nsu},
                                   {LOG_SAIDA_NSU_TEXTO, s.NsuCopia},
                                   {LOG_SAIDA_FIM, nullptr}};
        if (GravaLog("00000001", &r, &s, saidas) != 0) falhas++;
      }
    });
  }
  for (auto& t : ts) t.join();
  return falhas.load() == 0 ? 0 : 11;
}

// 0 when a record read back is one an EscritorLog wrote, whole.
inline int ConfereRegistroEscrito(const RegistroLog& r, const RegistroLogSecundario& s) {
  char esperado[sizeof s.FrotaCampo1 + sizeof r.Terminal + sizeof r.Valor];
  std::snprintf(esperado, sizeof esperado, "%.6s/%.6s", r.Terminal, r.Valor);
  if (std::strcmp(s.FrotaCampo1, esperado) != 0) return 1;
  if (std::strcmp(s.NsuCopia, r.Nsu) != 0) return 2;
  char cartao[sizeof r.Cartao];
  std::snprintf(cartao, sizeof cartao, "47617390%06d", std::atoi(r.Valor) % 1000000);
  if (std::strcmp(cartao, r.Cartao) != 0) return 3;
  return r.Rede == 77 && r.Estado == 1 ? 0 : 4;
}
