// The establishment index: (establishment code, company) pairs sorted by
// code, so that a host message that carries only field 42 finds the
// company whose log holds its transaction.
#include <algorithm>
#include <cstring>

#include "nvpr/nv_error.h"
#include "txlog/estado_log.h"

namespace {

bool MenorCodigo(const EstabelecimentoLog& a, const char* codigo) {
  return std::memcmp(a.codigo, codigo, sizeof a.codigo) < 0;
}

// 15 characters, a zero ending it early padded with spaces.
void CopiaCodigo(const char* origem, char destino[15]) {
  size_t n = 0;
  while (n < 15 && origem[n] != '\0') {
    destino[n] = origem[n];
    n++;
  }
  std::memset(destino + n, ' ', 15 - n);
}

// When the index can grow no further, the older half of its pairs (by the
// order in which they were last set) is dropped: the companies seen most
// recently are the ones whose transactions are still being answered.
void DescartaMetadeAntiga(std::vector<EstabelecimentoLog>* tab) {
  std::sort(tab->begin(), tab->end(), [](const EstabelecimentoLog& a, const EstabelecimentoLog& b) {
    return a.ordem > b.ordem;
  });
  tab->resize(tab->size() - tab->size() / 2);
  std::sort(tab->begin(), tab->end(), [](const EstabelecimentoLog& a, const EstabelecimentoLog& b) {
    return std::memcmp(a.codigo, b.codigo, sizeof a.codigo) < 0;
  });
}

}  // namespace

int AssociaEstabelecimento(const char* empresa, const char* estabelecimento) {
  if (empresa == nullptr || estabelecimento == nullptr) return NV_EINVAL;
  char codigo[15];
  CopiaCodigo(estabelecimento, codigo);
  char emp[8];
  std::memset(emp, ' ', sizeof emp);
  for (size_t i = 0; i < sizeof emp && empresa[i] != '\0'; i++) emp[i] = empresa[i];
  NV_Trava trava(&g_mutex_log);
  auto& tab = g_log.estabelecimentos;
  auto pos = std::lower_bound(tab.begin(), tab.end(), codigo, MenorCodigo);
  if (pos != tab.end() && std::memcmp(pos->codigo, codigo, sizeof codigo) == 0) {
    std::memcpy(pos->empresa, emp, sizeof emp);
    pos->ordem = ++g_log.contador_estab;
    return 0;
  }
  // Grows 1000 pairs at a time up to its bound.
  if (!CresceTabela(&tab, g_log.max_estabelecimentos)) {
    if (tab.empty()) return NV_ENOMEM;
    DescartaMetadeAntiga(&tab);
  }
  pos = std::lower_bound(tab.begin(), tab.end(), codigo, MenorCodigo);
  EstabelecimentoLog par{};
  std::memcpy(par.codigo, codigo, sizeof codigo);
  std::memcpy(par.empresa, emp, sizeof emp);
  par.ordem = ++g_log.contador_estab;
  tab.insert(pos, par);
  return 0;
}

int LeLogPorEstabelecimento(const char* estabelecimento, void* principal, void* secundario,
                            const char* nsu, const char* mmdd) {
  if (estabelecimento == nullptr) return LOG_NAO_EXISTE;
  char codigo[15];
  CopiaCodigo(estabelecimento, codigo);
  char empresa[9] = {};
  {
    NV_Trava trava(&g_mutex_log);
    const auto& tab = g_log.estabelecimentos;
    auto pos = std::lower_bound(tab.begin(), tab.end(), codigo, MenorCodigo);
    if (pos == tab.end() || std::memcmp(pos->codigo, codigo, sizeof codigo) != 0)
      return LOG_NAO_EXISTE;
    std::memcpy(empresa, pos->empresa, 8);
  }
  return LeLog(empresa, principal, secundario, nsu, mmdd);
}
