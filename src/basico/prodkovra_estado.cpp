// The registry's state, its mutex (created once), the mode flag and the
// reset for tests.
#include "basico/prodkovra_estado.h"

#include <cstdarg>
#include <cstdio>

#include "basico/prodkovra.h"
#include "nvpr/nv_error.h"

EstadoProdutos g_produtos;

namespace {

NV_Mutex g_mutex_produtos;
NV_Once g_mutex_criado = NV_ONCE_INIT;

void CriaMutexProdutos(void*) {
  int rc = NV_MutexCreate(&g_mutex_produtos);
  if (rc != 0) AvisoProdutos("[%s] Falha ao criar semaforo", NV_NomeErro(rc));
}

}  // namespace

TravaProdutos::TravaProdutos() {
  NV_OnceRun(&g_mutex_criado, CriaMutexProdutos, nullptr);
  NV_MutexLock(&g_mutex_produtos);
}

TravaProdutos::~TravaProdutos() { NV_MutexUnlock(&g_mutex_produtos); }

void AvisoProdutos(const char* formato, ...) {
  char linha[1024];
  va_list ap;
  va_start(ap, formato);
  std::vsnprintf(linha, sizeof linha, formato, ap);
  va_end(ap);
  std::fprintf(stderr, "%s\n", linha);
}

void DefineModoProdutos(int modo) {
  TravaProdutos trava;
  g_produtos.modo = modo;
}

void ReiniciaProdutos() {
  TravaProdutos trava;
  FechaBaseProdutos(&g_produtos.base);
  g_produtos.rede = 0;
  g_produtos.modo = 0;
  g_produtos.produtos = nullptr;
  g_produtos.num_produtos = 0;
  for (auto& f : g_produtos.faixas) std::vector<FaixaBandeira>().swap(f);
  g_produtos.carregada = {};
}
