// The mirror writer: the switch read once, the directory made even when
// off, the record layout with and without the secondary ranges, the file
// of each day and its extension, and the failures reported to the audit
// trail and the message log while the log operation goes on.
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "audit_apoio.h"
#include "basico/espelho.h"
#include "basico/espelho_leitor.h"
#include "basico/espelho_registro.h"
#include "basico/rot_arqs.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_filelock.h"
#include "services/ini.h"
#include "txlog/protecao.h"
#include "txlog/registro_log.h"

namespace {

constexpr const char* kKovraIni = "/kovra/./config/kovra.ini";

uint32_t Le32(const std::string& s, size_t p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[p + i]);
  return v;
}
uint16_t Le16(const std::string& s, size_t p) { return static_cast<uint16_t>(Le32(s, p) & 0xFFFF); }

class EspelhoTeste : public AuditTeste {
 protected:
  void SetUp() override {
    AuditTeste::SetUp();
    DefinePausaEspelho(0);
    std::memset(&principal_, 0, sizeof principal_);
    std::memcpy(principal_.Nsu, "150001", 7);
    std::memcpy(principal_.Cartao, "4111111111111111", 17);
    EmbaralhaArea(reinterpret_cast<uint8_t*>(principal_.Cartao), sizeof principal_.Cartao);
    principal_.Rede = 77;
    for (size_t i = 0; i < sizeof secundario_; ++i) secundario_[i] = static_cast<uint8_t>(i);
    faixas_.quantidade = 2;
    faixas_.faixas[0] = {0, 407};
    faixas_.faixas[1] = {407, 10};
  }
  void Liga(int valor) { ASSERT_EQ(GravaIniInt("EspelhoLog", "GeraEspelhoLog", valor, kKovraIni), 1); }
  int Grava(int op, bool com_secundario, int rede = 77) {
    return GravaEspelho(op, rede, "20260315", "EMPRESA1", "150001", &principal_,
                        sizeof principal_, com_secundario ? secundario_ : nullptr,
                        com_secundario ? sizeof secundario_ : 0, &faixas_);
  }
  RegistroLog principal_;
  uint8_t secundario_[417];
  FaixasEspelho faixas_{};
};

TEST_F(EspelhoTeste, OffWritesNothingButMakesTheDirectoryAndIsReadOnce) {
  EXPECT_EQ(Grava(ESPELHO_NOVO, true), 0);
  EXPECT_TRUE(drive_->existe("kovra/espelho.log"));
  EXPECT_TRUE(Arquivos("kovra/espelho.log").empty());
  Liga(1);
  EXPECT_EQ(Grava(ESPELHO_NOVO, true), 0);
  EXPECT_TRUE(Arquivos("kovra/espelho.log").empty());

  ReiniciaEspelho();
  DefinePausaEspelho(0);
  EXPECT_EQ(Grava(ESPELHO_NOVO, true), 0);
  Liga(0);
  EXPECT_EQ(Grava(ESPELHO_REGRAVACAO, false), 0);
  ResumoLeituraEspelho resumo;
  EXPECT_EQ(LeArquivoEspelho("/kovra/espelho.log/20260315.log", 214, nullptr, nullptr, &resumo), 0);
  EXPECT_EQ(resumo.validos, 2);
}

TEST_F(EspelhoTeste, RecordLayoutOfANewRecordAndOfARewriteWithoutSecondary) {
  Liga(1);
  ASSERT_EQ(Grava(ESPELHO_NOVO, true), 0);
  ASSERT_EQ(Grava(ESPELHO_REGRAVACAO, false), 0);
  EXPECT_EQ(GravaEspelho(ESPELHO_REGRAVACAO, 77, nullptr, nullptr, nullptr, &principal_,
                         sizeof principal_, nullptr, 0, nullptr),
            0);
  const std::string b = drive_->le("kovra/espelho.log/20260315.log");
  ASSERT_EQ(b.size(), 699u + 282u + 282u);
  EXPECT_EQ(Le16(b, 0), 697);
  EXPECT_EQ(Le16(b, 2), 4096);
  EXPECT_EQ(Le16(b, 4), 0);
  EXPECT_EQ(Le16(b, 6), 0);
  EXPECT_EQ(Le16(b, 8), 77);
  const uint32_t hora[9] = {10, 42, 8, 15, 2, 126, 0, 73, 0};   // 2026-03-15 was a Sunday
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Le32(b, 10 + 4 * i), hora[i]) << i;
  EXPECT_EQ(b.substr(46, 22), "20260315EMPRESA1150001");
  EXPECT_EQ(0, std::memcmp(b.data() + 68, &principal_, sizeof principal_));
  EXPECT_EQ(0, std::memcmp(b.data() + 68 + 214, secundario_, sizeof secundario_));
  EXPECT_FALSE(Contem(b, "4111111111111111"));

  EXPECT_EQ(Le16(b, 699), 280);
  EXPECT_EQ(Le16(b, 699 + 4), 1);
  EXPECT_EQ(b.substr(699 + 282 + 46, 22), "00000000********000000");
}

TEST_F(EspelhoTeste, DaylightSavingFlagFollowsTheZone) {
  setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
  uint8_t t[36];
  Relogio(2026, 7, 1, 12, 0, 0);
  HoraEspelho(NV_AgoraSeg(), t);
  EXPECT_EQ(t[32], 1);
  EXPECT_EQ(t[8], 12);
  Relogio(2026, 1, 10, 12, 0, 0);
  HoraEspelho(NV_AgoraSeg(), t);
  EXPECT_EQ(t[32], 0);
}

TEST_F(EspelhoTeste, OneFileForEachDayAndTheExtensionOfTheNetwork) {
  struct Caso {
    int rede;
    const char* arquivo;
  };
  const Caso casos[] = {{77, "20260315.log"}, {112, "20260315.112"}, {125, "20260315.125"},
                        {901, "20260315.901"}, {5, "20260315.log"}};
  Liga(1);
  for (const Caso& c : casos) {
    ReiniciaEspelho();
    DefinePausaEspelho(0);
    ASSERT_EQ(Grava(ESPELHO_NOVO, false, c.rede), 0);
    EXPECT_TRUE(drive_->existe(std::string("kovra/espelho.log/") + c.arquivo)) << c.arquivo;
    std::filesystem::remove(drive_->caminho(std::string("kovra/espelho.log/") + c.arquivo));
  }
  Relogio(2026, 3, 15, 23, 59, 59);
  ASSERT_EQ(Grava(ESPELHO_NOVO, false), 0);
  Avanca(2);
  ASSERT_EQ(Grava(ESPELHO_REGRAVACAO, false), 0);
  EXPECT_EQ(Arquivos("kovra/espelho.log"),
            (std::vector<std::string>{"20260315.log", "20260316.log"}));
}

// A failure: its code and message, then the record itself with its card
// number masked, in the audit trail; the message in the message log.
void ConfereFalha(const std::vector<AuditLido>& audit, uint8_t tipo,
                  const char* mensagem, const std::string& spool) {
  ASSERT_EQ(audit.size(), 2u);
  EXPECT_EQ(audit[0].tipo, 65);
  ASSERT_GE(audit[0].dados.size(), 4u);
  EXPECT_NE(Le32(audit[0].dados, 0), 0u);
  EXPECT_EQ(audit[0].dados.substr(4), mensagem);
  EXPECT_EQ(audit[1].tipo, tipo);
  ASSERT_EQ(audit[1].dados.size(), 699u);
  EXPECT_EQ(audit[1].dados.substr(68 + 57, 20), std::string(20, '*'));
  EXPECT_EQ(audit[1].dados.substr(46, 8), "20260315");
  EXPECT_TRUE(Contem(spool, mensagem));
}

TEST_F(EspelhoTeste, FailuresGoToTheAuditAndTheMessageLog) {
  Liga(1);
  ASSERT_EQ(AbreAudit(), 0);
  // The file exists, larger than the audit file will grow, so that the
  // file-size limit below stops the mirror write only.
  for (int i = 0; i < 4; ++i) Grava(ESPELHO_NOVO, true);
  const std::string nome = "kovra/espelho.log/20260315.log";
  const size_t antes = drive_->le(nome).size();

  {  // another holder of the lock on the first byte
    NV_Arquivo outro;
    ASSERT_EQ(NV_FileOpen(&outro, ("/" + nome).c_str(), NV_O_RDWR), 0);
    ASSERT_EQ(NV_FileLock(&outro, 0, 1, NV_LOCK_EXTENDIDO | NV_LOCK_EXCLUSIVO), 0);
    EXPECT_EQ(Grava(ESPELHO_NOVO, true), 13);
  }
  EXPECT_EQ(drive_->le(nome).size(), antes);
  ConfereFalha(Le("kovra/audit/03150842.077"), 67, "Erro lock log exportacao",
               drive_->le("kovra/tmp/arq_0000.msg"));

  {  // a disk that fills up in the middle of the record
    ReiniciaAudit();
    std::filesystem::remove(drive_->caminho("kovra/audit/03150842.077"));
    ASSERT_EQ(AbreAudit(), 0);
    const int rc = ComDiscoCheio(antes + 100, [this] { return Grava(ESPELHO_NOVO, true); });
    EXPECT_NE(rc, 0);
  }
  EXPECT_EQ(drive_->le(nome).size(), antes);
  ConfereFalha(Le("kovra/audit/03150842.077"), 69, "Erro write log exportacao",
               drive_->le("kovra/tmp/arq_0001.msg"));

  {  // the day's file cannot be opened
    ReiniciaAudit();
    std::filesystem::remove(drive_->caminho("kovra/audit/03150842.077"));
    ASSERT_EQ(AbreAudit(), 0);
    Avanca(86400);
    std::filesystem::create_directories(drive_->caminho("kovra/espelho.log/20260316.log"));
    EXPECT_NE(Grava(ESPELHO_NOVO, true), 0);
  }
  auto nomes = Arquivos("kovra/audit");
  ASSERT_EQ(nomes.size(), 2u);   // the day changed: the failure went to the new day's file
  ConfereFalha(Le("kovra/audit/" + nomes[1]), 66, "Erro open log exportacao",
               drive_->le("kovra/tmp/arq_0002.msg"));

  EXPECT_EQ(drive_->le(nome).size(), antes);
  ResumoLeituraEspelho resumo;
  EXPECT_EQ(LeArquivoEspelho(("/" + nome).c_str(), 214, nullptr, nullptr, &resumo), 0);
  EXPECT_EQ(resumo.validos, 4);
  EXPECT_EQ(resumo.danificados, 0);
}

// What the reader hands over, kept past the visit.
void Coleta(const RegistroEspelhoLido* reg, void* contexto) {
  static_cast<std::vector<RegistroEspelhoLido>*>(contexto)->push_back(*reg);
}

TEST_F(EspelhoTeste, ReaderSplitsRecordsAndResumesAfterDamage) {
  Liga(1);
  ASSERT_EQ(Grava(ESPELHO_NOVO, true), 0);
  ASSERT_EQ(Grava(ESPELHO_REGRAVACAO, false), 0);
  ASSERT_EQ(Grava(ESPELHO_REGRAVACAO, true), 0);
  const std::string nome = "kovra/espelho.log/20260315.log";
  const std::string original = drive_->le(nome);

  std::vector<RegistroEspelhoLido> v;
  ASSERT_EQ(LeArquivoEspelho(("/" + nome).c_str(), 214, Coleta, &v, nullptr), 0);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].operacao, 0);
  EXPECT_EQ(v[0].tam_principal, 214u);
  EXPECT_EQ(v[0].tam_secundario, 417u);
  EXPECT_EQ(v[1].operacao, 1);
  EXPECT_EQ(v[1].secundario, nullptr);
  EXPECT_EQ(FormataCabecalhoEspelho(&v[0]),
            "new net 77 time 2026-03-15 08:42:10 date 20260315 company EMPRESA1 nsu 150001");

  struct Caso {
    std::string bruto;
    int validos;
    int danificados;
  };
  std::string marca = original;
  marca[699 + 3] = 0;   // the second record's marker, 4096 no more
  const Caso casos[] = {
      {original.substr(0, original.size() - 1), 2, 1},
      {original.substr(0, 699) + "lixo" + original.substr(699), 3, 1},
      {marca, 2, 1},
      {std::string(1, '\x01'), 0, 1},
  };
  for (const Caso& c : casos) {
    drive_->escreve(nome, c.bruto);
    ResumoLeituraEspelho resumo;
    EXPECT_EQ(LeArquivoEspelho(("/" + nome).c_str(), 214, nullptr, nullptr, &resumo), 0);
    EXPECT_EQ(resumo.validos, c.validos);
    EXPECT_EQ(resumo.danificados, c.danificados);
  }
  EXPECT_EQ(LeArquivoEspelho("/kovra/espelho.log/nada.log", 214, nullptr, nullptr, nullptr), 2);
}

TEST(EspelhoFormato, HeaderOfAnyTimeValuesAndTextBytes) {
  RegistroEspelhoLido reg;
  reg.operacao = 1;
  reg.rede = 65535;
  const int extremos[9] = {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX,
                           INT32_MAX, 0, 0, 1};
  std::memcpy(reg.hora, extremos, sizeof reg.hora);
  std::memcpy(reg.data, "\x01\x02\x03\x04\x05\x06\x07\x08", 9);
  std::memcpy(reg.empresa, "\xff\xff\xff\xff\xff\xff\xff\xff", 9);
  std::memcpy(reg.nsu, "\\\\\\\\\\\\", 7);
  EXPECT_EQ(FormataCabecalhoEspelho(&reg),
            "rewrite net 65535 time 2147485547-2147483648--2147483648 2147483647:-2147483648:"
            "2147483647 dst date \\x01\\x02\\x03\\x04\\x05\\x06\\x07\\x08 company "
            "\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF\\xFF nsu \\x5C\\x5C\\x5C\\x5C\\x5C\\x5C");
}

}  // namespace
