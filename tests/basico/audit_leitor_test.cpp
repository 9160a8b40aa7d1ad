// The audit reader: a changed byte anywhere in a record is reported and the
// reading goes on; cut-off tails, inserted bytes and a wrong key are shown
// as damage without losing the records around them; the key file format;
// and the text and JSON forms of what is read.
#include <sys/stat.h>

#include <cstring>

#include "audit_apoio.h"
#include "basico/rot_arqs.h"
#include "basico/rot_arqs_registro.h"

namespace {

constexpr const char* kArquivo = "kovra/audit/03150842.077";

class AuditLeitor : public AuditTeste {
 protected:
  void SetUp() override {
    AuditTeste::SetUp();
    ASSERT_EQ(AbreAudit(), 0);
    GravaTexto(0, "primeiro");
    GravaTexto(51, "segundo registro");
    GravaTexto(52, "terceiro");
    original_ = drive_->le(kArquivo);
    inicio2_ = static_cast<size_t>(static_cast<uint8_t>(original_[0])) + 2;
    tamanho2_ = kSobraRegistroAudit + 16;
  }
  std::string original_;
  size_t inicio2_ = 0;     // offset of the second record
  size_t tamanho2_ = 0;
};

TEST_F(AuditLeitor, OneChangedByteInAnyFieldIsReportedAndReadingGoesOn) {
  const size_t campos[] = {0, 1, 2, 9, 10, 11, 22, 23, 23 + 15, tamanho2_ - 1};
  for (size_t campo : campos) {
    std::string bruto = original_;
    bruto[inicio2_ + campo] = static_cast<char>(bruto[inicio2_ + campo] ^ 0x01);
    drive_->escreve(kArquivo, bruto);
    ResumoLeituraAudit resumo;
    auto v = Le(kArquivo, kChaveTesteHex, &resumo);
    EXPECT_EQ(resumo.validos, 2) << campo;
    EXPECT_EQ(resumo.danificados, 1) << campo;
    ASSERT_EQ(v.size(), 3u) << campo;
    EXPECT_EQ(v[0].dados, "primeiro");
    EXPECT_NE(v[1].estado, kAuditLidoValido) << campo;
    EXPECT_EQ(v[2].dados, "terceiro") << campo;
  }
}

TEST_F(AuditLeitor, CutTailAndInsertedBytesAreDamageBetweenGoodRecords) {
  drive_->escreve(kArquivo, original_.substr(0, original_.size() - 5));
  ResumoLeituraAudit resumo;
  auto v = Le(kArquivo, kChaveTesteHex, &resumo);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[1].dados, "segundo registro");
  EXPECT_EQ(v[2].estado, kAuditLidoDanificado);
  EXPECT_EQ(v[2].posicao, static_cast<int64_t>(inicio2_ + tamanho2_));
  EXPECT_EQ(v[2].posicao + v[2].bytes, static_cast<int64_t>(original_.size() - 5));

  drive_->escreve(kArquivo, original_.substr(0, inicio2_) + std::string(50, '\x07') +
                                original_.substr(inicio2_));
  v = Le(kArquivo, kChaveTesteHex, &resumo);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[1].estado, kAuditLidoDanificado);
  EXPECT_EQ(v[1].posicao, static_cast<int64_t>(inicio2_));
  EXPECT_EQ(v[1].bytes, 50);
  EXPECT_EQ(v[2].dados, "segundo registro");
  EXPECT_EQ(v[3].dados, "terceiro");
  EXPECT_EQ(resumo.validos, 3);

  drive_->escreve(kArquivo, "");
  EXPECT_TRUE(Le(kArquivo).empty());
}

TEST_F(AuditLeitor, WrongKeyFailsEveryRecordButStillWalksTheFile) {
  ResumoLeituraAudit resumo;
  auto v = Le(kArquivo, "ffeeddccbbaa99887766554433221100", &resumo);
  ASSERT_EQ(v.size(), 3u);
  for (const auto& r : v) EXPECT_EQ(r.estado, kAuditLidoFalhou);
  EXPECT_EQ(v[1].hora, "08:42:10");
  EXPECT_EQ(v[1].tipo, 51);
  EXPECT_EQ(resumo.validos, 0);
}

TEST_F(AuditLeitor, MissingFileOrKeyIsAnError) {
  ChaveAudit chave;
  EXPECT_EQ(LeArquivoAudit("/kovra/audit/nada.077", &chave, nullptr, nullptr, nullptr), 22);
  chave.carregada = true;
  EXPECT_EQ(LeArquivoAudit("/kovra/audit/nada.077", &chave, nullptr, nullptr, nullptr), 2);
}

TEST(AuditChave, KeyFileTextForms) {
  DriveTemp drive;
  struct Caso {
    const char* texto;
    int esperado;
  };
  const Caso casos[] = {
      {"000102030405060708090a0b0c0d0e0f", 0},
      {"# TEST KEY\r\n\r\n  000102030405060708090A0B0C0D0E0F  \r\n", 0},
      {"# comentario\n000102030405060708090a0b0c0d0e0f\nlixo depois\n", 0},
      {"000102030405060708090a0b0c0d0e0f00", 22},
      {"", 22},
  };
  for (const Caso& c : casos) {
    drive.escreve("kovra/config/chaves/audit.key", c.texto);
    chmod(drive.caminho("kovra/config/chaves/audit.key").c_str(), 0600);
    ChaveAudit chave;
    EXPECT_EQ(CarregaChaveAudit(kArquivoChaveAudit, &chave, nullptr), c.esperado) << c.texto;
    EXPECT_EQ(chave.carregada, c.esperado == 0);
    if (c.esperado == 0) {
      EXPECT_EQ(chave.bytes[15], 0x0f);
    }
  }
}

TEST(AuditFormato, TextAndJsonForms) {
  const uint8_t dados[] = {'O', 'K', ' ', 0x00, 0x1f, '\\', 0xff};
  RegistroAuditLido valido;
  valido.posicao = 0;
  std::memcpy(valido.hora, "08:42:10", 9);
  valido.tipo = 51;
  valido.dados = dados;
  valido.tam_dados = sizeof dados;
  RegistroAuditLido falhou = valido;
  falhou.estado = kAuditLidoFalhou;
  falhou.posicao = 60;
  falhou.dados = nullptr;
  RegistroAuditLido dano;
  dano.estado = kAuditLidoDanificado;
  dano.posicao = 120;
  dano.bytes = 7;
  EXPECT_EQ(FormataAuditTexto(&valido), "08:42:10 kind 51 len 7: OK \\x00\\x1F\\x5C\\xFF");
  EXPECT_EQ(FormataAuditTexto(&falhou),
            "offset 60: record fails its check (time 08:42:10, kind 51, len 7)");
  EXPECT_EQ(FormataAuditTexto(&dano), "offset 120: 7 bytes damaged or cut off, skipped");
  EXPECT_EQ(FormataAuditJson(&valido),
            "{\"offset\":0,\"time\":\"08:42:10\",\"kind\":51,\"length\":7,\"ok\":true,"
            "\"data\":\"4f4b20001f5cff\"}");
  EXPECT_EQ(FormataAuditJson(&falhou),
            "{\"offset\":60,\"time\":\"08:42:10\",\"kind\":51,\"length\":7,\"ok\":false,"
            "\"check\":\"failed\"}");
  EXPECT_EQ(FormataAuditJson(&dano), "{\"offset\":120,\"ok\":false,\"damaged\":7}");
}

}  // namespace
