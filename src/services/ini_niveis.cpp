// The four tier lists of the ini cache and their balancing, which bounds the
// memory held: at most 8 frequent, 4 recent and 2 occasional unchanged files
// stay cached; files with unsaved changes (pending) are never dropped.
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"
#include "services/ini_cache.h"

namespace {

constexpr int kMaxFrequentes = 8;
constexpr int kMaxRecentes = 4;
constexpr int kMaxOcasionais = 2;
constexpr int kExameVelhos = 3;
constexpr int64_t kVelhoNs = 5000LL * 1000 * 1000;

// The tier an entry goes to when its last user releases it.
int NivelDeArquivo(const IniArquivo* a) {
  if (a->secoes.alterado) return INI_NIVEL_PENDENTE;
  if (a->max_leituras == 1) return a->leituras == 0 ? INI_NIVEL_OCASIONAL : INI_NIVEL_RECENTE;
  if (a->acesso_registrado) return INI_NIVEL_FREQUENTE;
  return INI_NIVEL_OCASIONAL;
}

bool EhVelho(const IniArquivo* a) {
  return !a->acesso_registrado || cache_ini.acesso_mais_recente - a->ultimo_acesso > kVelhoNs;
}

void MoveCaudaPara(int de, int para) {
  IniArquivo* a = cache_ini.niveis[de].cauda;
  RetiraDoNivel(a);
  PoeNoNivel(a, para);
}

void BalanceiaNiveis() {
  ListaNivelIni& freq = cache_ini.niveis[INI_NIVEL_FREQUENTE];
  // Frequent files not read for a while make room for the others.
  for (int i = 0, n = freq.conta < kExameVelhos ? freq.conta : kExameVelhos; i < n; ++i) {
    if (!EhVelho(freq.cauda)) break;
    MoveCaudaPara(INI_NIVEL_FREQUENTE, INI_NIVEL_RECENTE);
  }
  while (freq.conta > kMaxFrequentes) MoveCaudaPara(INI_NIVEL_FREQUENTE, INI_NIVEL_RECENTE);
  while (cache_ini.niveis[INI_NIVEL_RECENTE].conta > kMaxRecentes)
    MoveCaudaPara(INI_NIVEL_RECENTE, INI_NIVEL_OCASIONAL);
  ListaNivelIni& ocas = cache_ini.niveis[INI_NIVEL_OCASIONAL];
  while (ocas.conta > kMaxOcasionais) {
    IniArquivo* a = ocas.cauda;
    RetiraDoNivel(a);
    // Frees the entry; its next use loads the file again.
    cache_ini.arquivos.erase(cache_ini.arquivos.find(a->chave));
  }
}

}  // namespace

void RetiraDoNivel(IniArquivo* a) {
  if (a->nivel == INI_NIVEL_NENHUM) return;
  ListaNivelIni& l = cache_ini.niveis[a->nivel];
  if (a->anterior != nullptr) a->anterior->proximo = a->proximo;
  else l.cabeca = a->proximo;
  if (a->proximo != nullptr) a->proximo->anterior = a->anterior;
  else l.cauda = a->anterior;
  a->anterior = a->proximo = nullptr;
  a->nivel = INI_NIVEL_NENHUM;
  --l.conta;
}

void PoeNoNivel(IniArquivo* a, int nivel) {
  ListaNivelIni& l = cache_ini.niveis[nivel];
  a->anterior = nullptr;
  a->proximo = l.cabeca;
  if (l.cabeca != nullptr) l.cabeca->anterior = a;
  else l.cauda = a;
  l.cabeca = a;
  a->nivel = nivel;
  ++l.conta;
}

void LiberaArquivoIni(IniArquivo* a) {
  if (--a->referencias > 0) return;
  PoeNoNivel(a, NivelDeArquivo(a));
  BalanceiaNiveis();
}
