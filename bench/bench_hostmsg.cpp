// Host message speed.  BM_Montamsg0200: a stripe credit sale (definition 2)
// built with montamsg, builders and codec, without the log write.
// BM_Separa0210: a sale answer split with LeCabecalho + LocalizaCampos.
// Each is timed in batches next to a memcpy of the same number of bytes in
// the same run; counters ns_msg and ns_memcpy per message, and razao, the
// ratio of the two (the limit a codec is measured against).
#include <cstring>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_resposta.h"
#include "hostmsg/iso_texto.h"
#include "hostmsg/msg_envio.h"
#include "kovtiquetal/registros.h"
#include "nvpr/nv_time.h"

namespace {

constexpr int kLote = 64;

void PreparaVenda(RegistroEmpresa* empresa) {
  ReiniciaHostMsg();
  ReiniciaRegistros();
  std::memcpy(empresa->Codigo, "00000001", 8);
  empresa->Estab = std::make_unique<RegistroEstab>();
  std::memcpy(empresa->Estab->CodigoEstabelecimento, "123456789012345", 16);
  EmpresaAtual = empresa;
  std::memcpy(RegLog.Terminal, "PDV00001", 8);
  TransacaoPdv.CodTrn = '0';
  TransacaoPdv.Entrada = '1';
  std::strcpy(TransacaoPdv.CodProcessamento, "003000");
  std::strcpy(TransacaoPdv.Cartao, "4111111111111111=25122010000012345678");
  std::strcpy(TransacaoPdv.Valor, "1500");
  std::strcpy(TransacaoPdv.Parcelas, "1");
  std::strcpy(TransacaoPdv.BlocoPin, "0123456789ABCDEF");
}

// Times `lote` runs of `f`, then as many memcpy of `bytes` bytes.
template <typename F>
void Mede(benchmark::State& state, size_t bytes, F f) {
  std::vector<char> origem(bytes, 'x'), destino(bytes);
  int64_t ns_msg = 0, ns_copia = 0;
  for (auto _ : state) {
    const int64_t t0 = NV_RelogioMonotonico();
    for (int i = 0; i < kLote; ++i) f();
    const int64_t t1 = NV_RelogioMonotonico();
    for (int i = 0; i < kLote; ++i) {
      std::memcpy(destino.data(), origem.data(), bytes);
      benchmark::DoNotOptimize(destino.data());
      benchmark::ClobberMemory();
    }
    const int64_t t2 = NV_RelogioMonotonico();
    ns_msg += t1 - t0;
    ns_copia += t2 - t1;
  }
  const double n = static_cast<double>(state.iterations()) * kLote;
  const double msg = static_cast<double>(ns_msg) / n;
  const double copia = static_cast<double>(ns_copia) / n;
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["ns_msg"] = msg;
  state.counters["ns_memcpy"] = copia;
  state.counters["razao"] = copia > 0 ? msg / copia : 0;
}

void BM_Montamsg0200(benchmark::State& state) {
  RegistroEmpresa empresa;
  PreparaVenda(&empresa);
  static char buffer[kTamBufferEnvio];
  if (montamsg(MODO_CODIGO, "0", buffer) != 0) {
    state.SkipWithError("the sale cannot be built");
    return;
  }
  Mede(state, MsgEnvio.tamanho, [] {
    benchmark::DoNotOptimize(montamsg(MODO_CODIGO, "0", buffer));
    benchmark::ClobberMemory();
  });
  ReiniciaRegistros();
}
BENCHMARK(BM_Montamsg0200);

void BM_Separa0210(benchmark::State& state) {
  ReiniciaHostMsg();
  const std::vector<CampoTexto> campos = {
      {3, "003000"},       {4, "000000001500"},     {7, "0305101112"},
      {11, "050001"},      {12, "101112"},          {13, "0305"},
      {32, "41111111111"}, {38, "A1B2C3"},          {39, "00"},
      {41, "PDV00001"},    {42, "123456789012345"}, {48, "003"},
      {49, "076"},         {62, std::string(60, 'R')}, {127, "000123456"},
  };
  std::string msg, motivo;
  if (CodificaIso("0210", campos, &msg, &motivo) != 0 || !CarregaMsgResposta(msg.data(), msg.size())) {
    state.SkipWithError(motivo.c_str());
    return;
  }
  Mede(state, msg.size(), [] {
    bool ok = LeCabecalho() && LocalizaCampos(16);
    benchmark::DoNotOptimize(ok);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_Separa0210);

}  // namespace
