// The link key table: the CRC-16/XMODEM fill, the marker, the secret from
// the key file, and the refusals of a key file that cannot be trusted.
#include <cstring>

#include "comms/chave_link.h"
#include "comms/crc16.h"
#include "comms/link.h"
#include "link_apoio.h"

namespace {

// Bit-by-bit CRC-16/XMODEM, independent of the table-driven one.
uint16_t CrcBits(const uint8_t* p, size_t n) {
  uint16_t crc = 0;
  for (size_t i = 0; i < n; ++i) {
    crc ^= static_cast<uint16_t>(p[i] << 8);
    for (int b = 0; b < 8; ++b)
      crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

// Every byte from `inicio` on is the low byte of the CRC of all before it.
void ConfereEnchimento(const uint8_t* t, size_t inicio) {
  for (size_t i = inicio; i < kTamTabelaChaveLink; ++i)
    ASSERT_EQ(t[i], CrcBits(t, i) & 0xff) << "byte " << i;
}

const uint8_t kSegredo[kTamSegredoLink] = {0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x87,
                                           0x98, 0xa9, 0xba, 0xcb, 0xdc, 0xed, 0xfe};

}  // namespace

TEST(Crc16, XmodemCheckValueAndContinuation) {
  const auto* texto = reinterpret_cast<const uint8_t*>("123456789");
  EXPECT_EQ(Crc16Xmodem(0, texto, 9), 0x31C3);
  EXPECT_EQ(Crc16Xmodem(Crc16Xmodem(0, texto, 4), texto + 4, 5), 0x31C3);
  EXPECT_EQ(Crc16Xmodem(0, texto, 0), 0);
}

TEST_F(LinkTeste, WithoutKeyFileTheFillStartsAtByteOne) {
  const uint8_t* t = TabelaChaveLink();
  EXPECT_EQ(t[0], kMarcadorTabelaLink);
  ConfereEnchimento(t, 1);
  char motivo[256] = "x";
  EXPECT_EQ(EstadoChaveLink(motivo, sizeof motivo), CHAVE_AUSENTE);
  EXPECT_STREQ(motivo, "");
  EXPECT_TRUE(LinhasMensagem().empty());
}

TEST_F(LinkTeste, ValidKeyFillsBytesOneToFifteen) {
  EscreveChave(TextoChave(kSegredo));
  const uint8_t* t = TabelaChaveLink();
  EXPECT_EQ(t[0], kMarcadorTabelaLink);
  EXPECT_EQ(std::memcmp(t + 1, kSegredo, sizeof kSegredo), 0);
  ConfereEnchimento(t, 16);
  EXPECT_EQ(EstadoChaveLink(nullptr, 0), CHAVE_VALIDA);
  EXPECT_TRUE(LinhasMensagem().empty());
}

TEST_F(LinkTeste, KeyFileFoundWithAnySpellingOfThePath) {
  drive_.escreve("kovra/Config/Chaves/Link.KEY", TextoChave(kSegredo));
  ASSERT_EQ(chmod(drive_.caminho("kovra/Config/Chaves/Link.KEY").c_str(), 0600), 0);
  EXPECT_EQ(std::memcmp(TabelaChaveLink() + 1, kSegredo, sizeof kSegredo), 0);
}

TEST_F(LinkTeste, TestKeyIsAnnouncedInTheMessageLog) {
  EscreveChave(TextoChave(kSegredo, true));
  EXPECT_EQ(EstadoChaveLink(nullptr, 0), CHAVE_VALIDA);
  const auto linhas = LinhasMensagem();
  ASSERT_EQ(linhas.size(), 1u);
  EXPECT_EQ(linhas[0], "Atencao: chave de link de teste em uso");
}

TEST_F(LinkTeste, RefusedKeyFilesLeaveTheTableWithoutSecretAndSayWhy) {
  const std::string bom = TextoChave(kSegredo);
  std::string md5_errado = bom;
  md5_errado[md5_errado.find("md5=") + 4] ^= 1;   // one hex digit changed
  struct Caso {
    const char* nome;
    std::string conteudo;
    unsigned modo;
    const char* motivo;
  };
  const Caso casos[] = {
      {"group readable", bom, 0640, "grupo ou outros (modo 0640)"},
      {"others readable", bom, 0604, "grupo ou outros (modo 0604)"},
      {"group writable", bom, 0620, "grupo ou outros"},
      {"digest mismatch", md5_errado, 0600, "o md5 nao confere"},
      {"short secret", "segredo=00112233\nmd5=00112233445566778899aabbccddeeff\n", 0600,
       "30 digitos"},
      {"bad hex", "segredo=zz" + std::string(28, '0') + "\nmd5=" + std::string(32, '0') + "\n",
       0600, "30 digitos"},
      {"no digest", "segredo=" + std::string(30, '1') + "\n", 0600, "falta a linha md5"},
      {"no secret", "md5=" + std::string(32, '1') + "\n", 0600, "falta a linha segredo"},
      {"unknown name", bom + "chave=1\n", 0600, "nome desconhecido na linha"},
      {"line without =", bom + "segredo\n", 0600, "sem \"=\""},
      {"twice", bom + "segredo=" + std::string(30, '1') + "\n", 0600, "30 digitos"},
      {"too large", bom + "#" + std::string(kTamMaxArquivoChave, 'x') + "\n", 0600, "maior que"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nome);
    ReiniciaLink();
    EscreveChave(c.conteudo, c.modo);
    const uint8_t* t = TabelaChaveLink();
    EXPECT_EQ(t[0], kMarcadorTabelaLink);
    ConfereEnchimento(t, 1);
    char motivo[256];
    EXPECT_EQ(EstadoChaveLink(motivo, sizeof motivo), CHAVE_RECUSADA);
    EXPECT_NE(std::strstr(motivo, "Chave de link recusada (/kovra/config/chaves/link.key): "),
              nullptr)
        << motivo;
    EXPECT_NE(std::strstr(motivo, c.motivo), nullptr) << motivo;
  }
}

TEST_F(LinkTeste, RefusalIsWrittenToTheMessageLogOnce) {
  EscreveChave(TextoChave(kSegredo), 0644);
  TabelaChaveLink();
  TabelaChaveLink();
  const auto linhas = LinhasMensagem();
  ASSERT_EQ(linhas.size(), 1u);
  EXPECT_EQ(linhas[0],
            "Chave de link recusada (/kovra/config/chaves/link.key): acessivel por grupo ou outros "
            "(modo 0644); use chmod 600");
}

TEST_F(LinkTeste, KeyPathThatIsADirectoryIsRefused) {
  drive_.escreve("kovra/config/chaves/link.key/x", "");
  ASSERT_EQ(chmod(drive_.caminho("kovra/config/chaves/link.key").c_str(), 0700), 0);
  char motivo[256];
  EXPECT_EQ(EstadoChaveLink(motivo, sizeof motivo), CHAVE_RECUSADA);
  EXPECT_NE(std::strstr(motivo, "nao e um arquivo comum"), nullptr) << motivo;
}
