// The audit tests' drive, clock and read-back helpers.
#include "audit_apoio.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "basico/espelho_registro.h"
#include "basico/rot_arqs.h"
#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "services/texto.h"
#include "services/trace.h"
#include "support/relogio.h"

namespace {

void Reinicia() {
  ReiniciaAudit();
  ReiniciaEspelho();
  ReiniciaCacheIni();
  ReiniciaTrace();
}

void Coleta(const RegistroAuditLido* reg, void* contexto) {
  auto* v = static_cast<std::vector<AuditLido>*>(contexto);
  AuditLido a;
  a.estado = reg->estado;
  a.hora = reg->hora;
  a.tipo = reg->tipo;
  a.posicao = reg->posicao;
  a.bytes = reg->bytes;
  if (reg->dados != nullptr) a.dados.assign(reinterpret_cast<const char*>(reg->dados), reg->tam_dados);
  v->push_back(a);
}

}  // namespace

void AuditTeste::SetUp() {
  if (const char* tz = std::getenv("TZ")) {
    tinha_tz_ = true;
    tz_antigo_ = tz;
  }
  setenv("TZ", "UTC", 1);
  drive_ = std::make_unique<DriveTemp>();
  Reinicia();
  EscreveChave(kChaveTesteHex, 0600);
  Relogio(2026, 3, 15, 8, 42, 10);
}

void AuditTeste::TearDown() {
  Reinicia();
  NV_RelogioReal();
  drive_.reset();
  if (tinha_tz_) setenv("TZ", tz_antigo_.c_str(), 1);
  else unsetenv("TZ");
}

void AuditTeste::Relogio(int ano, int mes, int dia, int hora, int minuto, int segundo) {
  FixaRelogioLocal(ano, mes, dia, hora, minuto, segundo);
}

void AuditTeste::Avanca(int64_t segundos) { NV_RelogioAvanca(segundos * 1000); }

void AuditTeste::EscreveChave(const std::string& hex, int modo) {
  const std::string rel = "kovra/config/chaves/audit.key";
  drive_->escreve(rel, "# chave de teste\n" + hex + "\n");
  chmod(drive_->caminho(rel).c_str(), static_cast<mode_t>(modo));
}

std::vector<std::string> AuditTeste::Arquivos(const std::string& dir_rel) const {
  std::vector<std::string> nomes;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(drive_->caminho(dir_rel), ec))
    nomes.push_back(e.path().filename().string());
  std::sort(nomes.begin(), nomes.end());
  return nomes;
}

std::vector<AuditLido> AuditTeste::Le(const std::string& rel, const std::string& hex,
                                      ResumoLeituraAudit* resumo) const {
  ChaveAudit chave;
  EXPECT_EQ(HexParaBytes(hex.c_str(), hex.size(), chave.bytes, sizeof chave.bytes), 0);
  chave.carregada = true;
  std::vector<AuditLido> v;
  // A system path: from the drive root, as the module names its files.
  EXPECT_EQ(LeArquivoAudit(("/" + rel).c_str(), &chave, Coleta, &v, resumo), 0);
  return v;
}

void GravaTexto(uint8_t tipo, const std::string& texto, const char* arquivo, int linha) {
  GravaAudit(tipo, texto.data(), texto.size(), nullptr, 0, arquivo, linha);
}

bool Contem(const std::string& palheiro, const std::string& agulha) {
  return palheiro.find(agulha) != std::string::npos;
}
