// The audit writer: file names, the record layout, the source text of kind
// 0, the day change, the audit switch with its 300-second retry and its
// re-check every 1000 records, the key file, and the failures that drop a
// record while the caller goes on.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "audit_apoio.h"
#include "basico/rot_arqs.h"
#include "basico/rot_arqs_registro.h"
#include "services/ini.h"
#include "services/trace.h"

namespace {

constexpr const char* kIni = "/kovra/./config/audit.ini";

int GravaDireto(uint8_t tipo, const std::string& dados) {
  NV_TraceVarAudit var{};
  var.tipo = tipo;
  var.dados = dados.data();
  var.tam = dados.size();
  return GravaRegistroAudit(&var);
}

uint16_t Le16(const std::string& s, size_t pos) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[pos]) | (static_cast<uint8_t>(s[pos + 1]) << 8));
}

using AuditEscrita = AuditTeste;

TEST_F(AuditEscrita, FileNamedByDayTimeAndNetworkHoldsEncipheredRecords) {
  ASSERT_EQ(AbreAudit(), 0);
  EXPECT_EQ(Arquivos("kovra/audit"), std::vector<std::string>{"03150842.077"});
  GravaTexto(0, "Modulo ativado");
  Avanca(1);
  GravaTexto(50, std::string("\x01\x00\x02", 3));

  const std::string bruto = drive_->le("kovra/audit/03150842.077");
  ASSERT_GE(bruto.size(), 2u);
  const size_t primeiro = Le16(bruto, 0) + 2u;
  EXPECT_EQ(primeiro, kSobraRegistroAudit + 14);
  EXPECT_EQ(bruto.substr(2, 8), "08:42:10");
  EXPECT_EQ(bruto[10], 0);
  EXPECT_EQ(bruto.size(), primeiro + Le16(bruto, primeiro) + 2u);
  EXPECT_FALSE(Contem(bruto, "Modulo ativado"));

  auto v = Le("kovra/audit/03150842.077");
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].estado, kAuditLidoValido);
  EXPECT_EQ(v[0].hora, "08:42:10");
  EXPECT_EQ(v[0].tipo, 0);
  EXPECT_EQ(v[0].dados, "Modulo ativado");
  EXPECT_EQ(v[1].hora, "08:42:11");
  EXPECT_EQ(v[1].tipo, 50);
  EXPECT_EQ(v[1].dados, std::string("\x01\x00\x02", 3));
}

TEST_F(AuditEscrita, KindZeroWithSourceAndLineCarriesTheSourceText) {
  struct Caso {
    uint8_t tipo;
    const char* arquivo;
    int linha;
    const char* esperado;
  };
  const Caso casos[] = {
      {0, "kovtiquetal\\trata.cpp", 1939, "Erro regrava cancel(kovtiquetal\\trata.cpp, 1939)"},
      {0, "trata.cpp", 0, "Erro regrava cancel"},
      {0, nullptr, 12, "Erro regrava cancel"},
      {0, "", 12, "Erro regrava cancel"},
      {49, "trata.cpp", 12, "Erro regrava cancel"},
  };
  ASSERT_EQ(AbreAudit(), 0);
  for (const Caso& c : casos) GravaTexto(c.tipo, "Erro regrava cancel", c.arquivo, c.linha);
  auto v = Le("kovra/audit/03150842.077");
  ASSERT_EQ(v.size(), std::size(casos));
  for (size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].dados, casos[i].esperado) << i;
}

TEST_F(AuditEscrita, FirstRecordAfterMidnightOpensTheNewDaysFile) {
  Relogio(2026, 3, 15, 23, 59, 58);
  ASSERT_EQ(AbreAudit(), 0);
  GravaTexto(0, "antes");
  Avanca(5);
  GravaTexto(0, "depois");
  GravaTexto(0, "depois 2");
  EXPECT_EQ(Arquivos("kovra/audit"),
            (std::vector<std::string>{"03152359.077", "03160000.077"}));
  auto antes = Le("kovra/audit/03152359.077");
  ASSERT_EQ(antes.size(), 1u);
  EXPECT_EQ(antes[0].dados, "antes");
  auto depois = Le("kovra/audit/03160000.077");
  ASSERT_EQ(depois.size(), 2u);
  EXPECT_EQ(depois[0].hora, "00:00:03");
  EXPECT_EQ(depois[1].dados, "depois 2");
}

TEST_F(AuditEscrita, NetworkSwitchedOffIsRetriedOnlyAfter300Seconds) {
  ASSERT_EQ(GravaIniInt("ControleAudit", "77", 0, kIni), 1);
  EXPECT_EQ(AbreAudit(), 13);
  GravaTexto(0, "perdido 1");
  EXPECT_TRUE(Arquivos("kovra/audit").empty());

  ASSERT_EQ(GravaIniInt("ControleAudit", "77", 1, kIni), 1);
  Avanca(299);
  GravaTexto(0, "perdido 2");
  EXPECT_TRUE(Arquivos("kovra/audit").empty());
  Avanca(1);
  GravaTexto(0, "gravado");
  ASSERT_EQ(Arquivos("kovra/audit"), std::vector<std::string>{"03150847.077"});
  auto v = Le("kovra/audit/03150847.077");
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].dados, "gravado");
}

TEST_F(AuditEscrita, DefaultStateAndNetworkRange) {
  struct Caso {
    int padrao;       // "EstadoPadraoAudit", -1 unset
    int controle;     // "ControleAudit" entry of the network, -1 unset
    int rede;
    int esperado;
  };
  const Caso casos[] = {
      {-1, -1, 77, 0}, {0, -1, 77, 13}, {0, 1, 77, 0}, {1, 0, 77, 13},
      {0, -1, 0, 0},   {-1, -1, 1000, 22}, {-1, -1, -1, 22}, {-1, -1, 999, 0},
  };
  for (const Caso& c : casos) {
    ReiniciaAudit();
    ReiniciaCacheIni();
    drive_->escreve("kovra/config/audit.ini", "");
    if (c.padrao >= 0) GravaIniInt("Geral", "EstadoPadraoAudit", c.padrao, kIni);
    if (c.controle >= 0)
      GravaIniInt("ControleAudit", std::to_string(c.rede).c_str(), c.controle, kIni);
    EXPECT_EQ(AbreAudit(c.rede), c.esperado) << c.padrao << " " << c.controle << " " << c.rede;
  }
}

TEST_F(AuditEscrita, SwitchReadAgainAtTheThousandthRecord) {
  ASSERT_EQ(AbreAudit(), 0);
  for (int i = 1; i <= 998; ++i) ASSERT_EQ(GravaDireto(0, "r" + std::to_string(i)), 0);
  ASSERT_EQ(GravaIniInt("ControleAudit", "77", 0, kIni), 1);
  EXPECT_EQ(GravaDireto(0, "r999"), 0);
  EXPECT_EQ(GravaDireto(0, "r1000"), 13);
  EXPECT_EQ(GravaDireto(0, "r1001"), 110);
  auto v = Le("kovra/audit/03150842.077");
  ASSERT_EQ(v.size(), 999u);
  EXPECT_EQ(v.back().dados, "r999");
}

TEST_F(AuditEscrita, UnusableKeyRefusesTheAuditAndSaysSoOnce) {
  struct Caso {
    const char* conteudo;   // null: no key file
    int modo;
    int esperado;
    const char* texto;
  };
  const Caso casos[] = {
      {nullptr, 0600, 2, "ausente"},
      {"000102030405060708090a0b0c0d0e0f\n", 0640, 13, "grupo ou outros"},
      {"000102030405060708090a0b0c0d0e0f\n", 0604, 13, "grupo ou outros"},
      {"# so um comentario\n", 0600, 22, "32 digitos"},
      {"0001020304050607\n", 0600, 22, "32 digitos"},
      {"zz0102030405060708090a0b0c0d0e0f\n", 0600, 22, "32 digitos"},
  };
  const std::string chave = drive_->caminho("kovra/config/chaves/audit.key");
  for (const Caso& c : casos) {
    ReiniciaAudit();
    std::remove(chave.c_str());
    if (c.conteudo != nullptr) {
      drive_->escreve("kovra/config/chaves/audit.key", c.conteudo);
      chmod(chave.c_str(), static_cast<mode_t>(c.modo));
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(AbreAudit(), c.esperado) << c.texto;
    GravaTexto(0, "4111111111111111");
    Avanca(300);
    GravaTexto(0, "4111111111111111");
    const std::string console = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
    EXPECT_TRUE(Contem(console, c.texto)) << console;
    EXPECT_TRUE(Arquivos("kovra/audit").empty());
  }
  EscreveChave(kChaveTesteHex, 0600);
  Avanca(300);
  GravaTexto(0, "de volta");
  auto nomes = Arquivos("kovra/audit");
  ASSERT_EQ(nomes.size(), 1u);
  auto v = Le("kovra/audit/" + nomes[0]);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].dados, "de volta");
}

TEST_F(AuditEscrita, DirectoryThatCannotBeMadeDropsRecords) {
  drive_->escreve("kovra/bloqueio", "um arquivo, nao um diretorio");
  ASSERT_EQ(GravaIniString("Geral", "DiretorioAudit", "/kovra/bloqueio/audit", kIni), 1);
  testing::internal::CaptureStderr();
  EXPECT_NE(AbreAudit(), 0);
  EXPECT_EQ(GravaDireto(0, "perdido"), 110);
  EXPECT_TRUE(Contem(testing::internal::GetCapturedStderr(),
                     "Nao conseguiu criar arquivo de audit."));

  ReiniciaAudit();
  ASSERT_EQ(GravaIniString("Geral", "DiretorioAudit", ("/kovra/" + std::string(260, 'd')).c_str(),
                           kIni),
            1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(AbreAudit(), 36);
  testing::internal::GetCapturedStderr();

  ReiniciaAudit();
  ASSERT_EQ(GravaIniString("Geral", "DiretorioAudit", "/kovra/outro/nivel/audit", kIni), 1);
  EXPECT_EQ(AbreAudit(), 0);
  EXPECT_EQ(Arquivos("kovra/outro/nivel/audit"), std::vector<std::string>{"03150842.077"});
}

TEST_F(AuditEscrita, FullDiskCutsTheTornRecordAndLaterRecordsFollow) {
  ASSERT_EQ(AbreAudit(), 0);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(GravaDireto(0, "antes " + std::to_string(i)), 0);
  const size_t tamanho = drive_->le("kovra/audit/03150842.077").size();
  const int rc = ComDiscoCheio(tamanho + 60, [] { return GravaDireto(51, std::string(100, 'x')); });
  EXPECT_EQ(rc, 14);
  EXPECT_EQ(drive_->le("kovra/audit/03150842.077").size(), tamanho);

  EXPECT_EQ(GravaDireto(0, "depois"), 0);
  ResumoLeituraAudit resumo;
  auto v = Le("kovra/audit/03150842.077", kChaveTesteHex, &resumo);
  EXPECT_EQ(resumo.validos, 4);
  EXPECT_EQ(resumo.danificados, 0);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[3].dados, "depois");
}

TEST_F(AuditEscrita, RecordsThatDoNotFitTheLengthFieldAreRefused) {
  ASSERT_EQ(AbreAudit(), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(GravaDireto(52, std::string(kMaxDadosAudit + 1, 'a')), 22);
  NV_TraceVarAudit var{};
  var.dados = nullptr;
  var.tam = 5;
  EXPECT_EQ(GravaRegistroAudit(&var), 22);
  EXPECT_EQ(GravaRegistroAudit(nullptr), 22);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(GravaDireto(52, std::string(kMaxDadosAudit, 'b')), 0);
  auto v = Le("kovra/audit/03150842.077");
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].dados.size(), kMaxDadosAudit);
}

TEST_F(AuditEscrita, NoncesDifferAlsoWhenTheSameFileIsOpenedAgain) {
  ASSERT_EQ(AbreAudit(), 0);
  for (int i = 0; i < 3; ++i) GravaTexto(0, "mesmo texto");
  ReiniciaAudit();
  ASSERT_EQ(AbreAudit(), 0);
  for (int i = 0; i < 3; ++i) GravaTexto(0, "mesmo texto");
  const std::string bruto = drive_->le("kovra/audit/03150842.077");
  std::vector<std::string> nonces;
  for (size_t p = 0; p + 2 <= bruto.size(); p += Le16(bruto, p) + 2u)
    nonces.push_back(bruto.substr(p + 11, kTamNonceAudit));
  ASSERT_EQ(nonces.size(), 6u);
  std::sort(nonces.begin(), nonces.end());
  EXPECT_EQ(std::unique(nonces.begin(), nonces.end()), nonces.end());
  EXPECT_EQ(Le("kovra/audit/03150842.077").size(), 6u);
}

}  // namespace
