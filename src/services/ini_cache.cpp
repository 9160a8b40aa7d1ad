// The cache's one instance, its creation, the use of a file entry (find,
// check against the disk, reload) and the reload itself.
#include "services/ini_cache.h"

#include <atomic>
#include <new>

#include "nvpr/nv_error.h"
#include "services/ini.h"
#include "services/ini_carga.h"
#include "services/ini_frescor.h"
#include "services/ini_grava.h"
#include "services/ini_nomes.h"

namespace {

// The cache is never torn down: threads may still read settings while the
// process exits, so its destructor is never run.
union CacheNuncaDestruido {
  CacheIni cache;
  CacheNuncaDestruido() : cache() {}
  ~CacheNuncaDestruido() {}
};
CacheNuncaDestruido armazenamento_cache;

NV_Once once_cache = NV_ONCE_INIT;
std::atomic<bool> cache_pronto{false};

void CriaCache(void*) {
  NV_MutexCreate(&cache_ini.mutex);
  NV_CondCreate(&cache_ini.cond);
  cache_pronto.store(true, std::memory_order_release);
}

IniArquivo* AchaOuCriaArquivo(const char* caminho) {
  NomeDobrado k(caminho);
  auto it = cache_ini.arquivos.find(k.vista());
  if (it != cache_ini.arquivos.end()) return it->second.get();
  auto novo = std::make_unique<IniArquivo>();
  novo->caminho = caminho;
  novo->chave.assign(k.vista());
  IniArquivo* a = novo.get();
  cache_ini.arquivos.emplace(a->chave, std::move(novo));
  return a;
}

// The file work of a reload, run without the mutex.  No exception may
// leave it: the entry would stay marked as loading.
int TrabalhaArquivo(IniArquivo* a, bool grava, const AlteracoesIni& alt, ResultadoCargaIni* res) {
  try {
    if (cache_ini.gancho_carga) cache_ini.gancho_carga(a->caminho);
    return grava ? GravaArquivoIni(a->caminho, alt, res) : LeArquivoIni(a->caminho, res);
  } catch (const std::bad_alloc&) {
    return NV_ENOMEM;
  }
}

bool ArquivoMudou(const IniArquivo* a, const RegistroArquivo& visto, const ResolucaoIni* res) {
  RegistroArquivo atual;
  try {
    return LeRegistroCaminho(a->caminho.c_str(), res, &atual) != 0 ||
           !RegistrosIguais(visto, atual);
  } catch (const std::bad_alloc&) {
    return true;
  }
}

}  // namespace

CacheIni& cache_ini = armazenamento_cache.cache;

void GaranteCacheIni() {
  if (!cache_pronto.load(std::memory_order_acquire)) NV_OnceRun(&once_cache, CriaCache, nullptr);
}

void EsperaCargaIni(IniArquivo* a) {
  while (a->registro.validade == INI_CARGA_EM_CURSO) {
    ++cache_ini.esperando;
    NV_CondWaitMs(&cache_ini.cond, &cache_ini.mutex, -1);
    --cache_ini.esperando;
  }
}

int RecarregaArquivoIni(IniArquivo* a, uint64_t geracao_vista) {
  EsperaCargaIni(a);
  if (a->registro.validade == INI_CARREGADO && a->geracao != geracao_vista) return 0;

  a->registro.validade = INI_CARGA_EM_CURSO;
  ResultadoCargaIni res;
  int r = 0;
  // The changes are copied while the mutex is held; the file work below
  // runs without it.
  bool grava = a->secoes.alterado;
  AlteracoesIni alt;
  try {
    if (grava) ColheAlteracoes(a->secoes, &alt);
  } catch (const std::bad_alloc&) {
    r = NV_ENOMEM;
  }
  ++cache_ini.cargas;
  NV_MutexUnlock(&cache_ini.mutex);
  if (r == 0) r = TrabalhaArquivo(a, grava, alt, &res);
  NV_MutexLock(&cache_ini.mutex);

  if (r == 0) {
    a->secoes.mapa.swap(res.secoes);
    a->secoes.alterado = false;
    a->max_leituras = 0;
    a->leituras = 0;
    res.registro.validade = INI_CARREGADO;
    a->registro = res.registro;
    a->resolucao = std::move(res.resolucao);
    ++a->geracao;
    if (grava) ++cache_ini.gravacoes;
  } else {
    a->registro.validade = INI_NUNCA_CARREGADO;
  }
  NV_CondBroadcast(&cache_ini.cond);
  return r;
}

UsoArquivoIni::UsoArquivoIni(const char* caminho) {
  GaranteCacheIni();
  NV_MutexLock(&cache_ini.mutex);
  try {
    arq_ = AchaOuCriaArquivo(caminho != nullptr ? caminho : "");
  } catch (const std::bad_alloc&) {
    erro_ = NV_ENOMEM;
    return;
  }
  ++arq_->referencias;
  RetiraDoNivel(arq_);

  RegistroArquivo visto = arq_->registro;
  uint64_t geracao = arq_->geracao;
  bool recarrega = true;
  if (visto.validade == INI_CARREGADO && CacheIni::kVerificaDisco) {
    std::shared_ptr<const ResolucaoIni> res = arq_->resolucao;
    NV_MutexUnlock(&cache_ini.mutex);
    recarrega = ArquivoMudou(arq_, visto, res.get());
    NV_MutexLock(&cache_ini.mutex);
  }
  if (recarrega) erro_ = RecarregaArquivoIni(arq_, geracao);
}

UsoArquivoIni::~UsoArquivoIni() {
  if (arq_ != nullptr) LiberaArquivoIni(arq_);
  NV_MutexUnlock(&cache_ini.mutex);
}

void LeEstatisticaIni(EstatisticaIni* e) {
  GaranteCacheIni();
  NV_Trava trava(&cache_ini.mutex);
  e->arquivos = cache_ini.arquivos.size();
  for (int i = 0; i < 4; ++i) e->niveis[i] = cache_ini.niveis[i].conta;
  e->cargas = cache_ini.cargas;
  e->gravacoes = cache_ini.gravacoes;
  e->esperando = cache_ini.esperando;
}

void ReiniciaCacheIni() {
  GaranteCacheIni();
  NV_Trava trava(&cache_ini.mutex);
  cache_ini.arquivos.clear();
  for (auto& n : cache_ini.niveis) n = ListaNivelIni{};
  cache_ini.acesso_mais_recente = 0;
  cache_ini.cargas = 0;
  cache_ini.gravacoes = 0;
  cache_ini.gancho_carga = nullptr;
  cache_ini.gancho_antes_de_renomear = nullptr;
}
