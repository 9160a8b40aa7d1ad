// A business day through the log, the mirror and the audit trail: sales
// written and rewritten with GravaLog and RegravaLog, and the PDV and host
// messages recorded the way the links record them.  Every file the day
// leaves is searched byte by byte for the card numbers, and everything is
// read back with the kovtool binary of this build.  Also how the two
// kovtool readers refuse bad arguments, missing files and unusable keys.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "audit_apoio.h"
#include "basico/espelho.h"
#include "basico/rot_arqs.h"
#include "services/ini.h"
#include "services/trace.h"
#include "support/processo.h"
#include "txlog/txlog.h"

namespace {

namespace fs = std::filesystem;

struct Venda {
  const char* cartao;
  bool tarja;        // read from the stripe (field 35) or typed (field 2)
  const char* valor;
};
constexpr Venda kVendas[] = {
    {"4111111111111111", true, "000000001000"},
    {"5555444433332222", false, "000000012345"},
    {"6062825624254001", true, "000000000990"},
};

// The kovtool program of this build, beside the tests' tree.
std::string Kovtool() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return "";
  exe[n] = '\0';
  return (fs::path(exe).parent_path() / "../../tools/kovtool/kovtool").lexically_normal().string();
}

// Runs kovtool with the arguments (shell quoting); all it wrote and its
// exit status.
std::string Executa(const std::string& args, int* status) {
  const SaidaProcesso s = ExecutaShell(Kovtool() + " " + args);
  *status = s.status;
  return s.out + s.err;
}

std::string Trilha2(const char* cartao) { return std::string(cartao) + "=25121011234567890123"; }

// A 0200 as the codec writes it: type, both bitmaps, then the fields.
std::string Mensagem0200(const Venda& v) {
  if (v.tarja)   // fields 1, 3, 4 and 35
    return std::string("0200B0000000200000000000000000000000") + "003000" + v.valor + "37" +
           Trilha2(v.cartao);
  return std::string("0200F0000000000000000000000000000000") + "16" + v.cartao + "003000" +
         v.valor;   // fields 1 to 4
}

// The host's 0210 in its link envelope (9 bytes), echoing field 2.
std::string Envelope0210(const Venda& v) {
  return std::string("\x7f" "00000077", 9) + "0210F0000000020000000000000000000000" + "16" +
         v.cartao + "003000" + v.valor + "00";
}

class DiaTeste : public AuditTeste {
 protected:
  void SetUp() override {
    AuditTeste::SetUp();
    ASSERT_EQ(GravaIniInt("EspelhoLog", "GeraEspelhoLog", 1, "/kovra/./config/kovra.ini"), 1);
    ASSERT_EQ(AbreAudit(), 0);
    DefinicaoLog def;
    DefinicaoLogModulo(&def);
    ASSERT_EQ(DefineLog(&def), 0);
    ASSERT_EQ(DefineFaixasEspelho(417, nullptr, 0), 0);
    const FaixaEspelho par{407, 10};
    ASSERT_EQ(DefineFaixasEspelho(407, &par, 1), 0);
  }
  void TearDown() override {
    ReiniciaLog();
    AuditTeste::TearDown();
  }
  int registros_audit_ = 0;
  int registros_espelho_ = 0;

  void Audit(uint8_t tipo, const std::string& dados, const MascaraAudit* m = nullptr, int n = 0,
             const char* arquivo = nullptr, int linha = 0) {
    GravaAudit(tipo, dados.data(), dados.size(), m, n, arquivo, linha);
    ++registros_audit_;
  }

  void UmaVenda(const Venda& v, int i) {
    // The PDV request: the link records its first 30 bytes, or with the
    // audit length switch on the whole message with the card's track.
    std::string pedido(30, '\0');
    pedido[0] = 1;
    if (i == 0) pedido += std::string("VENDA\0", 6) + Trilha2(v.cartao) + std::string("\0", 1);
    Audit(50, pedido);

    RegistroLog reg{};
    RegistroLogSecundario sec{};
    std::memcpy(reg.Terminal, "PDV00001", 8);
    std::memcpy(reg.Empresa, "EMPRESA1", 8);
    std::strcpy(reg.Cartao, v.cartao);
    std::strcpy(reg.Valor, v.valor);
    reg.Estado = 1;
    reg.CodTrn = 3;
    reg.Rede = 77;
    std::memcpy(sec.FrotaCampo1, "PLACA ABC1234", 13);
    const SaidaLog saidas[] = {{LOG_SAIDA_NSU_TEXTO, reg.Nsu},
                               {LOG_SAIDA_MMDD_TEXTO, reg.Data},
                               {LOG_SAIDA_HORA_TEXTO, reg.Hora},
                               {LOG_SAIDA_FIM, nullptr}};
    ASSERT_EQ(GravaLog("EMPRESA1", &reg, &sec, saidas), 0);
    ++registros_espelho_;
    Audit(51, Mensagem0200(v));
    Avanca(2);
    Audit(52, Envelope0210(v));
    reg.Estado = 2;
    std::memcpy(reg.CodResposta, "00", 2);
    ASSERT_EQ(RegravaLog("EMPRESA1", &reg, &sec, reg.Nsu, reg.Data), 0);
    ++registros_espelho_;

    // The reply to the PDV carries the receipt with the card masked by the
    // flows; the link masks nothing more.
    std::string cartao = v.cartao;
    Audit(49, "APROVADA " + cartao.substr(0, 6) + "******" + cartao.substr(12));
    Avanca(5);
    reg.Estado = 4;
    if (i == 1) {
      ASSERT_EQ(RegravaLog("EMPRESA1", &reg, nullptr, reg.Nsu, reg.Data), 0);
      Audit(0, "Erro regrava confirmacao", nullptr, 0, "kovtiquetal\\confirma.cpp", 1939);
    } else {
      ASSERT_EQ(RegravaLog("EMPRESA1", &reg, &sec, reg.Nsu, reg.Data), 0);
    }
    ++registros_espelho_;
    std::memset(&reg, 0, sizeof reg);
  }
};

TEST_F(DiaTeste, EveryRecordReadsBackAndNoCardNumberIsInClear) {
  Audit(0, "Modulo Tiquetal ativado", nullptr, 0, "kovtiquetal\\main.cpp", 120);
  for (int i = 0; i < 3; ++i) {
    UmaVenda(kVendas[i], i);
    Avanca(600);
  }

  // No file the day left holds a card number in clear.
  int arquivos = 0;
  for (const auto& e : fs::recursive_directory_iterator(drive_->raiz())) {
    if (!e.is_regular_file()) continue;
    const std::string rel = fs::relative(e.path(), drive_->raiz()).string();
    if (rel.rfind("kovra/config", 0) == 0) continue;   // written by the test itself
    ++arquivos;
    const std::string bruto = drive_->le(rel);
    for (const Venda& v : kVendas) EXPECT_FALSE(Contem(bruto, v.cartao)) << rel << " " << v.cartao;
  }
  EXPECT_GE(arquivos, 4);   // log, secondary log, mirror, audit

  ASSERT_TRUE(fs::exists(Kovtool())) << "kovtool is built with the tests: " << Kovtool();
  const auto audit = Arquivos("kovra/audit");
  ASSERT_EQ(audit, std::vector<std::string>{"03150842.077"});
  int status = -1;
  const std::string lido = Executa("audit read /kovra/audit/03150842.077", &status);
  EXPECT_EQ(status, 0) << lido;
  EXPECT_TRUE(Contem(lido, std::to_string(registros_audit_) + " records, 0 damaged")) << lido;
  EXPECT_TRUE(Contem(lido, "08:42:10 kind 0 len 50: Modulo Tiquetal ativado(kovtiquetal\\x5Cmain.cpp, 120)"))
      << lido;
  EXPECT_TRUE(Contem(lido, "Erro regrava confirmacao(kovtiquetal\\x5Cconfirma.cpp, 1939)")) << lido;
  EXPECT_TRUE(Contem(lido, "37411111******1111=2512101******7890123")) << lido;
  EXPECT_TRUE(Contem(lido, "16555544******2222003000")) << lido;
  for (const Venda& v : kVendas) EXPECT_FALSE(Contem(lido, v.cartao)) << v.cartao;
  const std::string json = Executa("audit read /kovra/audit/03150842.077 --json", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), registros_audit_);

  const std::string espelho = Executa("mirror read /kovra/espelho.log/20260315.log", &status);
  EXPECT_EQ(status, 0) << espelho;
  EXPECT_TRUE(Contem(espelho, std::to_string(registros_espelho_) + " records, 0 damaged"))
      << espelho;
  EXPECT_TRUE(Contem(espelho, "new net 77 time 2026-03-15 08:42:10 date 20260315 company EMPRESA1 nsu 150001"))
      << espelho;
  // The record's fields as `log dump` shows them: NSU, state 4, transaction
  // code, company, terminal, amount and the masked card number.
  EXPECT_TRUE(Contem(espelho, " | 150001   4   3 EMPRESA1 PDV00001 000000001000 411111******1111 "))
      << espelho;
  EXPECT_TRUE(Contem(espelho, "+ secondary 417 bytes")) << espelho;
  for (const Venda& v : kVendas) EXPECT_FALSE(Contem(espelho, v.cartao)) << v.cartao;

  // A changed byte in the audit file is reported by the same reader.
  std::string bruto = drive_->le("kovra/audit/03150842.077");
  bruto[bruto.size() / 2] = static_cast<char>(bruto[bruto.size() / 2] ^ 0x20);
  drive_->escreve("kovra/audit/03150842.077", bruto);
  const std::string danificado = Executa("audit read /kovra/audit/03150842.077", &status);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(Contem(danificado, std::to_string(registros_audit_ - 1) + " records, 1 damaged"))
      << danificado;
}

using KovtoolLeitores = AuditTeste;

TEST_F(KovtoolLeitores, BadArgumentsMissingFilesWrongKeysAndDamage) {
  ASSERT_TRUE(fs::exists(Kovtool())) << Kovtool();
  const char* const ruins[] = {"audit",          "audit dump x",   "audit read",
                               "audit read x --key", "audit read x --bogus", "audit read x y",
                               "mirror",         "mirror read",    "mirror read x y"};
  for (const char* args : ruins) {
    const SaidaProcesso s = ExecutaShell(Kovtool() + " " + args);
    EXPECT_EQ(s.status, 2) << args;
    EXPECT_EQ(s.out, "") << args;
    EXPECT_EQ(std::count(s.err.begin(), s.err.end(), '\n'), 1) << args << ": " << s.err;
  }

  ASSERT_EQ(AbreAudit(), 0);
  GravaTexto(0, "um registro");
  ASSERT_EQ(GravaIniInt("EspelhoLog", "GeraEspelhoLog", 1, "/kovra/./config/kovra.ini"), 1);
  RegistroLog reg{};
  ASSERT_EQ(GravaEspelho(0, 77, "20260315", "EMPRESA1", "150001", &reg, sizeof reg, nullptr, 0,
                         nullptr),
            0);
  int status = -1;
  struct Caso {
    std::string args;
    int status;
    const char* texto;
  };
  drive_->escreve("kovra/outra.key", "ffeeddccbbaa99887766554433221100\n");
  chmod(drive_->caminho("kovra/outra.key").c_str(), 0600);
  drive_->escreve("kovra/aberta.key", std::string(kChaveTesteHex) + "\n");
  chmod(drive_->caminho("kovra/aberta.key").c_str(), 0644);
  const Caso casos[] = {
      {"audit read /kovra/audit/03150842.077 --key ../outra.key", 1, "no record passes its check"},
      {"audit read /kovra/audit/03150842.077 --key /kovra/aberta.key", 1, "grupo ou outros"},
      {"audit read /kovra/audit/03150842.077 --key /kovra/nada.key", 1, "ausente"},
      {"audit read /kovra/audit/nada.077", 1, "nada.077"},
      {"mirror read /kovra/espelho.log/nada.log", 1, "nada.log"},
      {"mirror read /kovra/espelho.log/20260315.log", 0, "1 records, 0 damaged"},
  };
  for (const Caso& c : casos) {
    const std::string saida = Executa(c.args, &status);
    EXPECT_EQ(status, c.status) << c.args << ": " << saida;
    EXPECT_TRUE(Contem(saida, c.texto)) << c.args << ": " << saida;
  }

  // A mirror file cut short: the damage is shown and the status says so.
  const std::string espelho = drive_->le("kovra/espelho.log/20260315.log");
  drive_->escreve("kovra/espelho.log/20260315.log", espelho + espelho.substr(0, 100));
  const std::string saida = Executa("mirror read /kovra/espelho.log/20260315.log", &status);
  EXPECT_EQ(status, 1) << saida;
  EXPECT_TRUE(Contem(saida, "offset 282: 100 bytes damaged or cut off, skipped")) << saida;
  EXPECT_TRUE(Contem(saida, "1 records, 1 damaged")) << saida;
}

}  // namespace
