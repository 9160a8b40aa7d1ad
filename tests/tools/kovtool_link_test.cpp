// kovtool link through the real binary: the table without and with a link
// secret, scrambling and obfuscation as the module does them in-process,
// round trips through the binary, a refused key file named on standard
// error, and bad arguments.
#include <cctype>
#include <sys/stat.h>

#include <mbedtls/md5.h>

#include "comms/link.h"
#include "comms/ofusca.h"
#include "kovtool_apoio.h"
#include "services/texto.h"

namespace {

std::string Hex(const std::vector<uint8_t>& b) {
  std::string s(2 * b.size() + 1, '\0');
  BytesParaHex(b.data(), b.size(), s.data());
  s.resize(2 * b.size());
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class KovtoolLink : public KovtoolTeste {
 protected:
  void SetUp() override { ReiniciaLink(); }
  void TearDown() override { ReiniciaLink(); }

  void EscreveChave(const std::vector<uint8_t>& segredo, unsigned modo) {
    uint8_t md5[16];
    mbedtls_md5_ret(segredo.data(), segredo.size(), md5);
    drive_.escreve("kovra/config/chaves/link.key",
                   "segredo=" + Hex(segredo) + "\nmd5=" + Hex({md5, md5 + 16}) + "\n");
    ASSERT_EQ(chmod(drive_.caminho("kovra/config/chaves/link.key").c_str(), modo), 0);
  }
  // What the module itself makes of `claro` on this drive.
  static std::string NoProcesso(void (*f)(uint8_t*, size_t), std::vector<uint8_t> claro) {
    f(claro.data(), claro.size());
    return Hex(claro);
  }
  std::string Saida(const std::vector<std::string>& args) {
    const SaidaProcesso s = Kovtool(args);
    EXPECT_EQ(s.status, 0) << Junta(args) << ": " << s.err;
    EXPECT_EQ(s.err, "") << Junta(args);
    EXPECT_TRUE(!s.out.empty() && s.out.back() == '\n') << Junta(args);
    return s.out.empty() ? s.out : s.out.substr(0, s.out.size() - 1);
  }
};

const std::vector<uint8_t> kSegredo = {0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0xf6, 0x07, 0x18,
                                       0x29, 0x3a, 0x4b, 0x5c, 0x6d, 0x7e, 0x8f};

std::vector<uint8_t> Mensagem(size_t n) {
  std::vector<uint8_t> m(n);
  for (size_t i = 0; i < n; ++i) m[i] = static_cast<uint8_t>(i * 29 + 3);
  return m;
}

}  // namespace

TEST_F(KovtoolLink, TableAndTransformsMatchTheModuleWithAndWithoutSecret) {
  for (bool com_segredo : {false, true}) {
    SCOPED_TRACE(com_segredo);
    ReiniciaLink();
    if (com_segredo) EscreveChave(kSegredo, 0600);
    const uint8_t* t = TabelaChaveLink();
    const std::string tabela = Saida({"link", "table"});
    EXPECT_EQ(tabela, Hex({t, t + kTamTabelaChaveLink}));
    EXPECT_EQ(tabela.substr(0, 2), "4d");
    if (com_segredo) {
      EXPECT_EQ(tabela.substr(2, 30), Hex(kSegredo));
    }

    const std::vector<uint8_t> claro = Mensagem(530);   // two DES turns and a tail
    const std::string hex = Hex(claro);
    const std::string embaralhado = Saida({"link", "scramble", hex});
    EXPECT_EQ(embaralhado, NoProcesso(EmbaralhaLink, claro));
    EXPECT_EQ(Saida({"link", "unscramble", embaralhado}), hex);
    EXPECT_EQ(Saida({"link", "unscramble", hex}), NoProcesso(DesembaralhaLink, claro));
    const std::string ofuscado = Saida({"link", "obfuscate", hex});
    EXPECT_EQ(ofuscado, NoProcesso(OfuscaPayload, claro));
    EXPECT_EQ(Saida({"link", "deobfuscate", ofuscado}), hex);
  }
  // Either case of hex digits is read; the output is lower case.
  EXPECT_EQ(Saida({"link", "obfuscate", "00FF"}), Saida({"link", "obfuscate", "00ff"}));
  EXPECT_EQ(Saida({"link", "obfuscate", "00"}), "5e");
}

TEST_F(KovtoolLink, ARefusedKeyFileIsNamedAndTheTableHasNoSecret) {
  EscreveChave(kSegredo, 0644);
  const SaidaProcesso s = Kovtool({"link", "table"});
  EXPECT_EQ(s.status, 0);
  EXPECT_NE(s.err.find("Chave de link recusada"), std::string::npos) << s.err;
  EXPECT_NE(s.err.find("chmod 600"), std::string::npos) << s.err;
  // The tool reports on its own console: nothing reaches the switch's
  // message-log spool.
  EXPECT_FALSE(drive_.existe("kovra/tmp/arq_0000.msg"));
  const uint8_t* t = TabelaChaveLink();   // refused here as well: CRC fill only
  EXPECT_EQ(s.out, Hex({t, t + kTamTabelaChaveLink}) + "\n");
  EXPECT_NE(s.out.substr(2, 30), Hex(kSegredo));
}

TEST_F(KovtoolLink, BadArgumentsAreRefused) {
  EsperaRecusa({"link"}, 2, "link takes scramble|unscramble|obfuscate|deobfuscate HEX, or table");
  EsperaRecusa({"link", "scramble"}, 2, "link takes");
  EsperaRecusa({"link", "scramble", "00", "11"}, 2, "link takes");
  EsperaRecusa({"link", "table", "00"}, 2, "link table takes no argument");
  EsperaRecusa({"link", "scramble", "abc"}, 2, "HEX must be an even number of hexadecimal digits");
  EsperaRecusa({"link", "obfuscate", "zz"}, 2, "HEX must be an even number of hexadecimal digits");
  EsperaRecusa({"link", "encrypt", "00"}, 2, "unknown operation 'encrypt'");
}
