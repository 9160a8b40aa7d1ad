// The instant of a call, the date of a read, the file and slot of an NSU,
// the write of a record pair, the mirror hand-off and the read-back
// comparison ("ComparaRegistroGravado").
#include "txlog/operacoes_log.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "services/trace.h"
#include "txlog/arquivos_log.h"
#include "txlog/datas_log.h"
#include "txlog/nsu.h"
#include "txlog/slots_log.h"

int64_t MomentoAtual(MomentoLog* m) {
  const int64_t agora = NV_AgoraSeg();
  NV_ConverteHora(agora, false, &m->local);
  if (g_log.gmt) NV_ConverteHora(agora + g_log.fuso_seg, false, &m->gmt);
  else m->gmt = m->local;
  return agora;
}

int DataDaLeitura(const char* nsu, const char* mmdd, const NV_DataHora& hoje, int* data) {
  if (mmdd != nullptr) return DataDoArgumento(mmdd, hoje, data);
  int64_t slot = 0;
  int dia = 0;
  if (SlotDoNsu(nsu, &slot, &dia) != 0 || dia == 0) return LOG_NAO_EXISTE;
  *data = DataDoDiaNsu(dia, hoje);
  return 0;
}

int LocalizaNsu(const char* empresa, const char* nsu, const char* mmdd, const NV_DataHora& hoje,
                int64_t agora, int* data, ArquivoAbertoLog** arquivos, int64_t* slot) {
  int rc = DataDaLeitura(nsu, mmdd, hoje, data);
  if (rc != 0) return rc;
  if ((rc = ArquivosDaData(empresa, nullptr, *data, false, agora, arquivos)) != 0) return rc;
  if (!NsuDoDia(nsu, DiaDe(*data))) return LOG_NAO_EXISTE;
  int dia = 0;
  SlotDoNsu(nsu, slot, &dia);
  return *slot == 0 ? LOG_NAO_EXISTE : 0;
}

int GravaRegistros(ArquivoAbertoLog* a, int64_t slot, const void* principal, int64_t slot_s,
                   const void* secundario, RegistrosGravados* g) {
  const EstadoLog& e = g_log;
  int rc = GravaRegistro(&a->principal, slot, e.def.TamanhoPrincipal, e.def.PosicaoProtegida,
                         e.tam_protegido, principal, &g->principal);
  if (rc == 0 && g->com_secundario)
    rc = GravaRegistro(&a->secundario, slot_s, e.def.TamanhoSecundario,
                       e.def.PosicaoProtegidaSecundaria, e.tam_protegido_secundario, secundario,
                       &g->secundario);
  if (rc != 0) return rc;
  g->faixas = e.faixas;
  g->rede = e.def.RedeLog;
  g->tam = e.def.TamanhoPrincipal;
  g->tam_s = e.def.TamanhoSecundario;
  g->compara = e.compara;
  return 0;
}

int ConcluiGravacao(int operacao, char marca, const char* empresa, const void* principal,
                    const void* secundario, const RegistrosGravados& g) {
  const void* sec = g.com_secundario ? secundario : nullptr;
  EnviaEspelho(operacao, g.rede, g.data, empresa, g.nsu, g.principal.data(), g.tam,
               sec != nullptr ? g.secundario.data() : nullptr, g.tam_s, g.faixas);
  return g.compara ? ComparaGravado(marca, empresa, principal, sec, g.nsu, g.data) : 0;
}

void EnviaEspelho(int operacao, int rede, int data, const char* empresa, const char* nsu,
                  const void* principal, int tam_principal, const void* secundario,
                  int tam_secundario, const FaixasEspelho& faixas) {
  char texto_data[16];
  std::snprintf(texto_data, sizeof texto_data, "%08d", data);
  GravaEspelho(operacao, rede, texto_data, empresa, nsu, principal,
               static_cast<size_t>(tam_principal), secundario,
               secundario ? static_cast<size_t>(tam_secundario) : 0, &faixas);
}

int ComparaGravado(char marca, const char* empresa, const void* principal,
                   const void* secundario, const char* nsu, int data) {
  int tam = 0, tam_s = 0, pos_indice = 0;
  FiltroSecundarioLog filtro = nullptr;
  bool tem_secundario = false;
  {
    NV_Trava trava(&g_mutex_log);
    tam = g_log.def.TamanhoPrincipal;
    tam_s = g_log.def.TamanhoSecundario;
    pos_indice = g_log.def.PosicaoIndiceSecundario;
    filtro = g_log.def.FiltroSecundario;
    tem_secundario = g_log.tem_secundario;
  }
  std::vector<uint8_t> lido_p, lido_s;
  try {
    lido_p.resize(static_cast<size_t>(tam));
  } catch (const std::bad_alloc&) {
    EscreveMensagem("NV_MemMalloc Principal");
    return LOG_SEM_MEMORIA_PRINCIPAL;
  }
  if (secundario != nullptr) {
    try {
      lido_s.resize(static_cast<size_t>(tam_s));
    } catch (const std::bad_alloc&) {
      EscreveMensagem("NV_MemMalloc Complemento");
      return LOG_SEM_MEMORIA_COMPLEMENTO;
    }
  }
  char mmdd[8];
  std::snprintf(mmdd, sizeof mmdd, "%02d%02d", MesDe(data), DiaDe(data));
  const int rc = LeLog(empresa, lido_p.data(), secundario ? lido_s.data() : nullptr, nsu, mmdd);
  if (rc != 0) {
    EscreveMensagemF("%c: %d/LeLog", marca, rc);
    return rc;
  }
  int bits = std::memcmp(lido_p.data(), principal, static_cast<size_t>(tam)) != 0 ? 1 : 0;
  // LeLog read a secondary record only when the filter accepts the record
  // and it names a secondary slot.
  const bool leu_secundario = secundario != nullptr && tem_secundario &&
                              filtro(lido_p.data()) && LeU32(lido_p.data() + pos_indice) != 0;
  if (leu_secundario && std::memcmp(lido_s.data(), secundario, static_cast<size_t>(tam_s)) != 0)
    bits |= 2;
  if (bits != 0) {
    EscreveMensagemF("%c: %d/memcmp", marca, bits);
    return LOG_RELIDO_DIFERENTE;
  }
  return 0;
}
