// Helpers of the link tests.
#include "link_apoio.h"

#include <sys/stat.h>

#include <mbedtls/md5.h>

#include "comms/chave_link.h"
#include "comms/link.h"
#include "support/spool.h"

void LinkTeste::SetUp() { ReiniciaLink(); }

void LinkTeste::TearDown() { ReiniciaLink(); }

void LinkTeste::EscreveChave(const std::string& conteudo, unsigned modo) {
  drive_.escreve("kovra/config/chaves/link.key", conteudo);
  ASSERT_EQ(chmod(drive_.caminho("kovra/config/chaves/link.key").c_str(), modo), 0);
}

std::string LinkTeste::TextoChave(const uint8_t* segredo, bool teste) {
  uint8_t md5[16];
  mbedtls_md5_ret(segredo, kTamSegredoLink, md5);
  std::string t = "# segredo do link\nsegredo=" + Hex(segredo, kTamSegredoLink) + "\nmd5=" +
                  Hex(md5, sizeof md5) + "\n";
  if (teste) t += "uso=teste\n";
  return t;
}

std::vector<std::string> LinkTeste::LinhasMensagem() const { return LinhasSpoolMensagem(drive_); }

std::string Hex(const uint8_t* p, size_t n) {
  static const char kDig[] = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    s += kDig[p[i] >> 4];
    s += kDig[p[i] & 15];
  }
  return s;
}
