// DefineLog: the check of the log definition, the configuration keys that
// shape the log (kind, root, start date of per-company files, reserved
// slots, GMT outputs, read-back check), the module's own definition, and
// the mirror ranges of the secondary record.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"
#include "services/ini.h"
#include "services/trace.h"
#include "txlog/datas_log.h"
#include "txlog/estado_log.h"

namespace {

// The properties of each kind of log, by "TipoLog".
struct TipoLogInfo {
  const char* mensagem;
  bool por_empresa, por_rede, por_terminal;
};
constexpr TipoLogInfo kTipos[] = {
    {nullptr, false, false, false},
    {"Log por rede", false, true, false},
    {"Log por empresa", true, false, false},
    {"Log por empresa/rede", true, true, false},
    {"Log por terminal", true, true, true},
};

constexpr int kMaxProtegido = 20;
constexpr int kTamCabecalho = 14;   // "dd/mm/aa vvvv" and its zero
constexpr int kMaxRegistro = 65536;

bool ExtensaoValida(const char* ext) {
  if (ext == nullptr) return false;
  const size_t n = std::strlen(ext);
  return n >= 1 && n <= 3 && std::strchr(ext, '/') == nullptr && std::strchr(ext, '\\') == nullptr;
}

// A protected area must lie inside its record once capped at 20 bytes.
bool AreaValida(int pos, int tam, int tam_registro) {
  if (tam < 0 || pos < 0) return false;
  return pos + std::min(tam, kMaxProtegido) <= tam_registro;
}

// The rules of the definition.  Record lengths must hold the 14-byte file
// header that slot 0 carries, and are kept to a sane upper bound.
bool DefinicaoValida(const DefinicaoLog& d) {
  if (!ExtensaoValida(d.ExtensaoPrincipal)) return false;
  if (d.TamanhoPrincipal < kTamCabecalho || d.TamanhoPrincipal > kMaxRegistro) return false;
  if (!AreaValida(d.PosicaoProtegida, d.TamanhoProtegido, d.TamanhoPrincipal)) return false;
  if (d.ExtensaoSecundaria == nullptr) return true;
  if (!ExtensaoValida(d.ExtensaoSecundaria)) return false;
  if (d.TamanhoSecundario < kTamCabecalho || d.TamanhoSecundario > kMaxRegistro) return false;
  if (d.PosicaoIndiceSecundario < 0 || d.PosicaoIndiceSecundario > d.TamanhoPrincipal - 4)
    return false;
  if (d.FiltroSecundario == nullptr) return false;
  return AreaValida(d.PosicaoProtegidaSecundaria, d.TamanhoProtegidoSecundario,
                    d.TamanhoSecundario);
}

void LeConfiguracaoGmt(EstadoLog* e) {
  e->gmt = false;
  if (LeIniInt("HorarioGMT", "PermiteHorarioGMT", 0, kArqKovraCfg) == 0) return;
  const int fuso = LeIniInt("HorarioGMT", "TimeZone", 0, kArqKovraCfg);
  if (fuso < -12 || fuso > 12) {
    EscreveMensagemF("TimeZone errado= %d", fuso);
    return;
  }
  EscreveMensagemF("TimeZone= %d", fuso);
  e->gmt = true;
  e->fuso_seg = static_cast<int64_t>(fuso) * 3600;
}

// "PathLogsKovra"; false when longer than the 259 characters it may have.
bool LeRaiz(EstadoLog* e) {
  char raiz[kTamCaminhoLog];
  LeIniString("Log", "PathLogsKovra", "/kovra/./log", raiz, sizeof raiz, kArqConfLog);
  const size_t n = std::strlen(raiz);
  if (n == 0 || n > kMaxPathLogs) return false;
  std::memcpy(e->raiz, raiz, n + 1);
  return true;
}

// The kind of log and the start date of per-company files.
bool LeTipo(EstadoLog* e, int rede) {
  char secao_rede[32];
  std::snprintf(secao_rede, sizeof secao_rede, "LogRede_%03d", rede);
  const char* secao = secao_rede;
  int tipo = LeIniInt(secao_rede, "TipoLog", -1, kArqConfLog);
  if (tipo == -1) {
    secao = "Log";
    tipo = LeIniInt("Log", "TipoLog", -1, kArqConfLog);
    if (tipo == -1) {
      const int geral = LeIniInt("Log", "TipoLog", 1, kArqGeral);
      if (geral == 1 || geral == 2) tipo = geral;
    }
  }
  // One byte more than the 8 allowed, so that a longer value is seen and refused.
  char inicio[10];
  LeIniString(secao, "DataInicio", "01012002", inicio, sizeof inicio, kArqConfLog);
  if (tipo < 1 || tipo > 5) {
    EscreveMensagem("TipoLog invalido");
    return false;
  }
  const TipoLogInfo& info = kTipos[tipo - 1];
  if (info.mensagem) EscreveMensagem(info.mensagem);
  e->tipo = tipo;
  e->por_empresa = info.por_empresa;
  e->por_rede = info.por_rede;
  e->por_terminal = info.por_terminal;
  e->data_inicio = 0;
  if (!e->por_empresa) return true;
  if (!DataInicioValida(inicio, &e->data_inicio)) {
    if (tipo == 3 || tipo == 4) {
      EscreveMensagem("Data config log invalida");
      return false;
    }
    e->data_inicio = 20020101;   // kind 5 refuses every operation anyway
  }
  return true;
}

void CriaDiretorioEmpresas(const EstadoLog& e) {
  char dir[kTamCaminhoLog];
  std::snprintf(dir, sizeof dir, "%s/empresas", e.raiz);
  NV_CriaDiretorio(dir, true);
}

}  // namespace

int DefineLog(const DefinicaoLog* def) {
  if (def == nullptr) return NV_EINVAL;
  NV_Trava trava(&g_mutex_log);
  if (const int rc = NV_MutexCreate(&g_mutex_log); rc != 0) return rc;
  g_log = EstadoLog{};
  EstadoLog& e = g_log;
  e.compara = LeIniInt("Geral", "ComparaRegistroGravado", 0, kArqConfLog) != 0;
  LeConfiguracaoGmt(&e);
  if (!LeRaiz(&e)) return NV_EINVAL;
  if (!LeTipo(&e, def->RedeLog)) return NV_EINVAL;
  if (LeIniInt("Log", "HabilitaOffsetNsu", 0, kArqConfLog) != 0) {
    const int offset = LeIniInt("Log", "OffsetNsu", 15000, kArqConfLog);
    // Reserved slots past the last slot with an NSU would leave no NSU at all.
    if (offset < 0 || offset >= 90000) return NV_EINVAL;
    e.offset_ligado = true;
    e.offset_nsu = offset;
  }
  if (!DefinicaoValida(*def)) return NV_EINVAL;
  e.def = *def;
  std::snprintf(e.ext_principal, sizeof e.ext_principal, "%s", def->ExtensaoPrincipal);
  e.def.ExtensaoPrincipal = e.ext_principal;
  e.tem_secundario = def->ExtensaoSecundaria != nullptr;
  if (e.tem_secundario) {
    std::snprintf(e.ext_secundaria, sizeof e.ext_secundaria, "%s", def->ExtensaoSecundaria);
    e.def.ExtensaoSecundaria = e.ext_secundaria;
  }
  e.tam_protegido = std::min(def->TamanhoProtegido, kMaxProtegido);
  e.tam_protegido_secundario =
      e.tem_secundario ? std::min(def->TamanhoProtegidoSecundario, kMaxProtegido) : 0;
  // Per network applies only to the "dat" extension.
  e.por_rede = e.por_rede && std::strcmp(e.ext_principal, "dat") == 0;
  if (e.tipo == 3 || e.tipo == 4) CriaDiretorioEmpresas(e);
  e.definido = true;
  return 0;
}

int DefineFaixasEspelho(int n, const FaixaEspelho* pares, size_t num_pares) {
  NV_Trava trava(&g_mutex_log);
  EstadoLog& e = g_log;
  if (!e.definido || !e.tem_secundario) return NV_EINVAL;
  const int tam = e.def.TamanhoSecundario;
  FaixasEspelho f{};
  auto adiciona = [&](int inicio, int tamanho) {
    if (f.quantidade >= kMaxFaixasEspelho || tamanho <= 0 || inicio < 0 || inicio >= tam) return;
    f.faixas[f.quantidade++] = {inicio, std::min(tamanho, tam - inicio)};
  };
  if (n > 0) adiciona(0, n);
  for (size_t i = 0; i < num_pares && pares != nullptr; i++) adiciona(pares[i].inicio, pares[i].tamanho);
  e.faixas = f;
  return 0;
}

bool FiltroSecundarioModulo(const void* principal) {
  const auto* r = static_cast<const RegistroLog*>(principal);
  return r->Rede == 77 && r->CodTrn != 12 && r->CodTrn != 1;
}

void DefinicaoLogModulo(DefinicaoLog* def) {
  *def = DefinicaoLog{};
  def->ExtensaoPrincipal = "dat";
  def->TamanhoPrincipal = kTamRegistroLog;
  def->ExtensaoSecundaria = "077";
  def->TamanhoSecundario = kTamRegistroLogSecundario;
  def->PosicaoIndiceSecundario = kPosIndiceSecundario;
  def->FiltroSecundario = FiltroSecundarioModulo;
  def->RedeLog = 77;
  def->PosicaoProtegida = kPosCartao;
  def->TamanhoProtegido = kTamCartao;
  def->PosicaoProtegidaSecundaria = 0;
  def->TamanhoProtegidoSecundario = 0;
}
