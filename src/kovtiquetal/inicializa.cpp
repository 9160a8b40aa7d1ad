// The start-up sequence of the module, in the order the switch expects:
// console trace, tables and global lock, audit trail, transaction log and
// its recovery, establishment index, PDV link, brand and product registry,
// host link, network sequence number, brand tables, service announcement.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "basico/intercom_rede.h"
#include "basico/interpdv.h"
#include "basico/libcomdrivers.h"
#include "basico/prodkovra.h"
#include "basico/rot_arqs.h"
#include "basico/rot_aux.h"
#include "hostmsg/estado_builders.h"
#include "kovtiquetal/fluxos.h"
#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "kovtiquetal/protocolo_pdv.h"
#include "kovtiquetal/registros.h"
#include "nvpr/nv_time.h"
#include "services/depura.h"
#include "services/trace.h"
#include "txlog/txlog.h"

namespace {

constexpr uint8_t kEstadoEnviado = 1;
constexpr uint8_t kEstadoDesfazer = 6;
constexpr int kArquivosRecuperacao = 1;

// The secondary record as the mirror log carries it: whole, then in two
// ranges (0, 407) and (407, 10).
constexpr int kTamEspelhoInteiro = 417;
constexpr FaixaEspelho kFaixasEspelho[] = {{0, 407}, {407, 10}};

[[noreturn]] void Encerra(int codigo, const char* mensagem) {
  EscreveMensagem(mensagem);
  std::fflush(nullptr);
  std::_Exit(codigo);
}

void DefineLogModulo() {
  DefinicaoLog def;
  DefinicaoLogModulo(&def);
  if (DefineLog(&def) != 0) Encerra(kSaidaLog, "Erro na definicao da Log");
  DefineFaixasEspelho(kTamEspelhoInteiro, kFaixasEspelho,
                      sizeof kFaixasEspelho / sizeof kFaixasEspelho[0]);
  RecuperaPendentesLog(&RegLog, &RegLogSec, kArquivosRecuperacao, RecuperaRegistroModulo);
  LimpaRegistrosLog();
}

void IniciaTabEstab() {
  if (NV_ThreadStart(&Threads.tab_estab, TabEstab, nullptr, 0, true) != 0) {
    Depura("ERRO no beginthread");
    Encerra(kSaidaThread, "ERRO no beginthread (TabEstab)");
  }
}

void SemeiaNumSeqRede() {
  char hora[16] = {};
  NV_FormataHoraLocal(hora, sizeof hora, "%H:%M:%S");
  NumSeqRede = SementeNumSeqRede(hora);
}

void CarregaTabelasBandeira() {
  Modulo.bandeiras_habilitadas = BandeirasHabilitadas() == 1;
  if (!Modulo.bandeiras_habilitadas) return;
  CarregaBandeiras(kTabBandeiraCredito);
  CarregaBandeiras(kTabBandeiraDebito);
}

}  // namespace

uint32_t SementeNumSeqRede(const char* hora) {
  const long hh = std::strtol(hora, nullptr, 10);
  const long mm = std::strlen(hora) >= 5 ? std::strtol(hora + 3, nullptr, 10) : 0;
  return static_cast<uint32_t>(kNumSeqRedeInicio + hh * 60 + mm);
}

int RecuperaRegistroModulo(void* principal, void*, const char*) {
  auto* r = static_cast<RegistroLog*>(principal);
  if (r->Rede != CodigoRede || r->Estado != kEstadoEnviado) return 0;
  std::memset(r->CodResposta, 0, sizeof r->CodResposta);
  std::memcpy(r->CodResposta, "00", 2);
  r->Estado = kEstadoDesfazer;
  return kRecuperaRegrava;
}

bool Inicializa() {
  AtualizaDataHoje();
  IniciaTraceConsole();
  LimpaTabPendentes();   // the pending table comes with the company initialisation
  LimpaTabEmpresas();    // the company table comes with the company registry
  if (NV_MutexCreate(&MutexGlobal) != 0) ParadaFatal(9);
  AbreAudit(CodigoRede);
  DefineLogModulo();
  Depura("inicializa_comunicacao_pdv");
  IniciaTabEstab();
  if (!inicia_comunicacao_pdv(CodigoRede)) return false;
  CarregaProdutos(CodigoRede);
  DefineModoProdutos(1);
  Depura("inicializa_comunicacao_pdv");
  if (IniciaDrivers(CodigoRede) < 0) {
    Depura("ERRO no beginthread");
    Encerra(kSaidaThread, "ERRO no beginthread (Drivers)");
  }
  SemeiaNumSeqRede();
  CarregaTabelasBandeira();
  AnunciaServicos();
  return true;
}
