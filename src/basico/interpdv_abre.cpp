// Opening and closing the PDV link: the request queue is created at once,
// the reply queue waited for until the switch's PDV side has created it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "basico/intercom_parada.h"
#include "basico/interpdv_interno.h"
#include "services/trace.h"

EstadoInterPdv g_interpdv;
NV_Mutex g_mutex_escrita_pdv;

void FalhaFatalPdv(const char* texto) {
  std::fprintf(stderr, "%s\n", texto);
  EscreveMensagem(texto);
  std::fflush(nullptr);
  std::_Exit(kSaidaFalhaLinkPdv);
}

int inicia_comunicacao_pdv(int codigo_rede) {
  EstadoInterPdv& e = g_interpdv;
  const char* trace = std::getenv("KOVTRACE");
  e.console = trace != nullptr && std::strcmp(trace, "ON") == 0;
  if (NomeFilaRede(FILA_PDV_PEDIDOS, codigo_rede, e.nome_leitura, sizeof e.nome_leitura) != 0 ||
      NomeFilaRede(FILA_PDV_RESPOSTAS, codigo_rede, e.nome_escrita, sizeof e.nome_escrita) != 0)
    FalhaFatalPdv("Erro critico: numero de rede invalido para as filas do PDV");
  NV_MutexCreate(&g_mutex_escrita_pdv);

  const int rc = NV_MsgQueueCreate(&e.leitor, e.nome_leitura);
  if (rc != 0) {
    char linha[192];   // room for the longest queue name
    std::snprintf(linha, sizeof linha, "Erro critico: NV_MsgQueueCreate (%s) retornou %d",
                  e.nome_leitura, rc);
    FalhaFatalPdv(linha);
  }
  if (e.console) {
    std::printf("DosCreateQueue WR (%s) rc %d\n", e.nome_leitura, rc);
    std::printf("Entrando loop DosOpenQueue RD (%s)\n", e.nome_escrita);
    std::fflush(stdout);
  }

  NV_Trava trava(&g_mutex_escrita_pdv);
  int rc_abre = 0;
  while ((rc_abre = NV_MsgQueueOpen(&e.escritor, e.nome_escrita)) != 0) {
    if (EsperaParada(kIntervaloPdvMs)) return 0;
  }
  e.quebrado = false;
  if (e.console) {
    std::printf("DosOpenQueue RD (%s) rc %d\n", e.nome_escrita, rc_abre);
    std::fflush(stdout);
  }
  return 1;
}

void AcordaLeituraPdv() {
  if (g_interpdv.leitor != nullptr) NV_MsgQueueWake(g_interpdv.leitor);
}

void FechaComunicacaoPdv() {
  EstadoInterPdv& e = g_interpdv;
  {
    NV_Trava trava(&g_mutex_escrita_pdv);
    if (e.escritor != nullptr) NV_MsgQueueClose(e.escritor);
    e.escritor = nullptr;
    e.quebrado = true;
  }
  if (e.leitor != nullptr) NV_MsgQueueClose(e.leitor);
  e.leitor = nullptr;
}

void DefineAuditPdvCompleto(bool completo) { g_interpdv.audit_completo.store(completo); }

void DesviaRespostaPdv(SumidouroRespostaPdv sumidouro) { g_interpdv.sumidouro.store(sumidouro); }

void DefineTentativasPdv(int tentativas, int intervalo_ms) {
  NV_Trava trava(&g_mutex_escrita_pdv);
  g_interpdv.tentativas = tentativas > 0 ? tentativas : kTentativasRespostaPdv;
  g_interpdv.intervalo_ms = intervalo_ms > 0 ? intervalo_ms : kIntervaloPdvMs;
}

void ReiniciaInterPdv() {
  FechaComunicacaoPdv();
  NV_Trava trava(&g_mutex_escrita_pdv);
  EstadoInterPdv& e = g_interpdv;
  std::memset(e.nome_leitura, 0, sizeof e.nome_leitura);
  std::memset(e.nome_escrita, 0, sizeof e.nome_escrita);
  e.console = false;
  e.audit_completo.store(false);
  e.sumidouro.store(nullptr);
  e.tentativas = kTentativasRespostaPdv;
  e.intervalo_ms = kIntervaloPdvMs;
}
