// Start-up recovery: collects the most recent primary files of every log
// directory and walks each forward, letting the module's function settle
// the records left unfinished and rewriting those it asks for.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "nvpr/nv_fileutil.h"
#include "services/texto.h"
#include "txlog/arquivos_log.h"
#include "txlog/datas_log.h"
#include "txlog/operacoes_log.h"

namespace {

struct ArquivoRecuperar {
  char empresa[9];
  char mmdd[5];
  int ordem;    // MMDD, less 10000 for a file of last year
};

struct ConfigRecupera {
  char raiz[kMaxPathLogs + 1];
  char ext_principal[4];
  char ext_rede[4];   // the network code, accepted beside "dat"
  bool por_empresa_hoje;
  int data_inicio;
};

// The `quantos` most recent primary files of one directory, in ascending
// order of rank (the order they are walked in).  A directory that cannot be
// listed gives none.
void ColetaDiretorio(const ConfigRecupera& c, const char* dir, const char* empresa, int quantos,
                     int hoje_mmdd, std::vector<ArquivoRecuperar>* lista) {
  std::vector<NV_EntradaDiretorio> entradas;
  if (NV_ListaDiretorio(dir, "LOG_????.???", &entradas) != 0) return;
  std::vector<ArquivoRecuperar> achados;
  for (const auto& ent : entradas) {
    const char* nome = ent.nome.c_str();
    if (ent.info.diretorio || ent.nome.size() != 12) continue;
    const char* ext = nome + 9;
    const bool ext_ok = ComparaSemCaso(ext, c.ext_principal) == 0 ||
                        (c.ext_rede[0] != '\0' && ComparaSemCaso(ext, c.ext_rede) == 0);
    int mmdd = 0;
    bool digitos = true;
    for (int i = 4; i < 8; i++) {
      digitos = digitos && nome[i] >= '0' && nome[i] <= '9';
      mmdd = mmdd * 10 + (nome[i] - '0');
    }
    if (!ext_ok || !digitos) continue;
    ArquivoRecuperar a{};
    std::snprintf(a.empresa, sizeof a.empresa, "%.8s", empresa);
    std::memcpy(a.mmdd, nome + 4, 4);
    a.ordem = mmdd > hoje_mmdd ? mmdd - 10000 : mmdd;
    // One day's file under two extensions is walked once.
    const bool repetido = std::any_of(achados.begin(), achados.end(), [&](const ArquivoRecuperar& x) {
      return std::memcmp(x.mmdd, a.mmdd, 4) == 0;
    });
    if (!repetido) achados.push_back(a);
  }
  std::sort(achados.begin(), achados.end(),
            [](const ArquivoRecuperar& a, const ArquivoRecuperar& b) { return a.ordem > b.ordem; });
  if (static_cast<int>(achados.size()) > quantos) achados.resize(static_cast<size_t>(std::max(0, quantos)));
  lista->insert(lista->end(), achados.rbegin(), achados.rend());
}

void ColetaArquivos(const ConfigRecupera& c, int hoje, int quantos,
                    std::vector<ArquivoRecuperar>* lista) {
  const int hoje_mmdd = hoje % 10000;
  if (!c.por_empresa_hoje) {
    ColetaDiretorio(c, c.raiz, "xxxxxxxx", quantos, hoje_mmdd, lista);
    return;
  }
  const std::string empresas = std::string(c.raiz) + "/empresas";
  std::vector<NV_EntradaDiretorio> dirs;
  if (NV_ListaDiretorio(empresas.c_str(), "*", &dirs) == 0) {
    for (const auto& d : dirs) {
      if (!d.info.diretorio || d.nome.size() != 8) continue;
      ColetaDiretorio(c, (empresas + "/" + d.nome).c_str(), d.nome.c_str(), quantos, hoje_mmdd,
                      lista);
    }
  }
  // The root still holds the files of the days before "DataInicio".
  for (int i = 1; i <= 5; i++) {
    if (DataMenosDias(hoje, i) < c.data_inicio) {
      ColetaDiretorio(c, c.raiz, "xxxxxxxx", quantos, hoje_mmdd, lista);
      break;
    }
  }
}

void RecuperaArquivo(const ArquivoRecuperar& a, void* principal, void* secundario,
                     FuncaoRecuperaLog funcao) {
  VarreduraLog v;
  if (AbreVarreduraLog(&v, a.empresa, a.mmdd, LOG_VARREDURA_FRENTE) != 0) return;
  for (;;) {
    const int64_t slot = v.corrente;
    const int rc = ProximoLog(&v, principal, secundario);
    // A record whose secondary record cannot be read is still offered with
    // its primary record (and rewritten without the secondary), so that one
    // damaged slot does not leave the transactions after it unsettled.
    if (rc != 0 && !(rc == 1 && v.slot_lido == slot)) break;
    const int r = funcao(principal, secundario, a.mmdd);
    if (r & kRecuperaRegrava) RegravaCorrenteLog(&v, principal, secundario);
    if ((r & ~kRecuperaRegrava) == 1) break;
  }
  FechaVarreduraLog(&v);
}

}  // namespace

int RecuperaPendentesLog(void* principal, void* secundario, int arquivos_por_diretorio,
                         FuncaoRecuperaLog funcao) {
  ConfigRecupera c{};
  int hoje = 0;
  {
    NV_Trava trava(&g_mutex_log);
    const EstadoLog& e = g_log;
    if (!e.definido) return LOG_RECUPERA_SEM_DEFINICAO;
    MomentoLog m;
    MomentoAtual(&m);
    hoje = DataDe(m.local);
    std::memcpy(c.raiz, e.raiz, sizeof c.raiz);
    std::memcpy(c.ext_principal, e.ext_principal, sizeof c.ext_principal);
    if (std::strcmp(e.ext_principal, "dat") == 0)
      std::snprintf(c.ext_rede, sizeof c.ext_rede, "%03u", static_cast<unsigned>(e.def.RedeLog) % 1000);
    c.por_empresa_hoje = DataPorEmpresa(hoje);
    c.data_inicio = e.data_inicio;
  }
  if (principal == nullptr || funcao == nullptr) return 0;
  std::vector<ArquivoRecuperar> lista;
  ColetaArquivos(c, hoje, arquivos_por_diretorio, &lista);
  for (const auto& a : lista) RecuperaArquivo(a, principal, secundario, funcao);
  return 0;
}
