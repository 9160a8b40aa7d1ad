// The transaction log tests' fixture.
#include "log_fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "services/trace.h"
#include "support/relogio.h"

namespace fs = std::filesystem;

void LogTeste::SetUp() {
  ReiniciaCacheIni();
  ReiniciaTrace();
  ReiniciaLog();
  FixaData(2026, 3, 5);
}

void LogTeste::TearDown() {
  ReiniciaLog();
  ReiniciaCacheIni();
  ReiniciaTrace();
  NV_RelogioReal();
}

void LogTeste::FixaData(int ano, int mes, int dia, int hora, int minuto, int segundo) {
  FixaRelogioLocal(ano, mes, dia, hora, minuto, segundo);
}

void LogTeste::Configura(const std::string& conflog, const std::string& kovracfg) {
  drive_.escreve("kovra/config/conflog.ini", conflog);
  if (!kovracfg.empty()) drive_.escreve("kovra/config/kovracfg.ini", kovracfg);
  ReiniciaCacheIni();
}

int LogTeste::Define() {
  DefinicaoLog def;
  DefinicaoLogModulo(&def);
  const int rc = DefineLog(&def);
  NV_Trava trava(&g_mutex_log);
  g_log.intervalo_abertura_ms = 1;
  g_log.intervalo_trava_ms = 1;
  g_log.intervalo_leitura_ms = 1;
  g_log.tentativas_abertura = 2;
  return rc;
}

RegistroLog LogTeste::Venda(const char* cartao, const char* valor) {
  RegistroLog r{};
  std::memcpy(r.Terminal, "PDV00001", 8);
  std::memcpy(r.Empresa, "00000001", 8);
  std::snprintf(r.Cartao, sizeof r.Cartao, "%s", cartao);
  std::snprintf(r.Valor, sizeof r.Valor, "%s", valor);
  std::memcpy(r.Estabelecimento, "123456789012345", 15);
  r.Rede = 77;
  r.CodTrn = '0';
  r.Estado = 1;
  return r;
}

RegistroLogSecundario LogTeste::Frota(const char* campo1) {
  RegistroLogSecundario s{};
  std::snprintf(s.FrotaCampo1, sizeof s.FrotaCampo1, "%s", campo1);
  GravaU16(s.QtdItens, 1);
  std::memcpy(s.Itens[0].Codigo, "000001", 6);
  std::memcpy(s.Itens[0].Descricao, "GASOLINA", 8);
  return s;
}

int LogTeste::Grava(RegistroLog* r, RegistroLogSecundario* s, std::string* nsu,
                    const char* empresa) {
  const SaidaLog saidas[] = {{LOG_SAIDA_NSU_TEXTO, r->Nsu},
                             {LOG_SAIDA_MMDD_TEXTO, r->Data},
                             {LOG_SAIDA_HORA_TEXTO, r->Hora},
                             {LOG_SAIDA_FIM, nullptr}};
  const int rc = GravaLog(empresa, r, s, saidas);
  if (nsu) *nsu = rc == 0 ? std::string(r->Nsu, 6) : std::string();
  return rc;
}

std::vector<std::string> LogTeste::Mensagens() const {
  std::vector<std::pair<std::string, std::string>> arquivos;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(drive_.caminho("kovra/tmp"), ec)) {
    const std::string nome = e.path().filename().string();
    if (nome.rfind("arq_", 0) != 0 || e.path().extension() != ".msg") continue;
    const std::string dados = drive_.le("kovra/tmp/" + nome);
    if (dados.size() < kTamRegistroSpool) continue;
    arquivos.emplace_back(nome, std::string(dados.c_str() + 8));
  }
  std::sort(arquivos.begin(), arquivos.end());
  std::vector<std::string> textos;
  for (auto& a : arquivos) textos.push_back(a.second);
  return textos;
}

bool LogTeste::TemMensagem(const std::string& texto) const {
  const auto m = Mensagens();
  return std::find(m.begin(), m.end(), texto) != m.end();
}
