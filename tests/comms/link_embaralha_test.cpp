// EmbaralhaLink / DesembaralhaLink: round trips, and which blocks go through
// DES (message offsets 0, 64, ..., 448 and again from 512) and which are
// only XORed, checked against mbed TLS's DES and the table directly.
#include <cstring>
#include <numeric>
#include <vector>

#include <mbedtls/des.h>

#include "comms/link.h"
#include "link_apoio.h"

namespace {

std::vector<uint8_t> Mensagem(size_t n, uint8_t semente) {
  std::vector<uint8_t> m(n);
  for (size_t i = 0; i < n; ++i) m[i] = static_cast<uint8_t>(semente + i * 37 + (i >> 3));
  return m;
}

// What the scrambling of `claro` must give, built block by block from the
// table and a fresh DES context per block.
std::vector<uint8_t> Esperado(const std::vector<uint8_t>& claro, bool cifra) {
  const uint8_t* t = TabelaChaveLink();
  std::vector<uint8_t> r = claro;
  for (size_t pos = 0; pos < r.size(); pos += 8) {
    const size_t off = pos % 512;   // the table offset of this block
    if (r.size() - pos >= 8 && off % 64 == 0) {
      mbedtls_des_context ctx;
      mbedtls_des_init(&ctx);
      if (cifra) {
        mbedtls_des_setkey_enc(&ctx, t + off);
      } else {
        mbedtls_des_setkey_dec(&ctx, t + off);
      }
      mbedtls_des_crypt_ecb(&ctx, r.data() + pos, r.data() + pos);
      mbedtls_des_free(&ctx);
    } else {
      for (size_t i = pos; i < r.size() && i < pos + 8; ++i) r[i] ^= t[off + (i - pos)];
    }
  }
  return r;
}

const uint8_t kSegredo[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

}  // namespace

TEST_F(LinkTeste, RoundTripsAtEveryAwkwardLength) {
  for (size_t n : {0, 1, 7, 8, 9, 15, 16, 63, 64, 65, 72, 503, 504, 511, 512, 513, 519, 520,
                   1024, 1500, 1503, 16384, 60009}) {
    SCOPED_TRACE(n);
    const auto claro = Mensagem(n, static_cast<uint8_t>(n));
    auto m = claro;
    EmbaralhaLink(m.data(), m.size());
    if (n >= 8) {
      EXPECT_NE(m, claro);
    }
    DesembaralhaLink(m.data(), m.size());
    EXPECT_EQ(m, claro);
  }
  EmbaralhaLink(nullptr, 0);
  DesembaralhaLink(nullptr, 0);
}

TEST_F(LinkTeste, DesBlocksSitAtEverySixtyFourthOffsetAndRepeatFrom512) {
  const size_t n = 1100;   // two turns of the table and a 4-byte tail
  const auto claro = Mensagem(n, 3);
  auto m = claro;
  EmbaralhaLink(m.data(), n);
  EXPECT_EQ(m, Esperado(claro, true));

  // The same positions by their nature: a DES block does not equal the XOR.
  const uint8_t* t = TabelaChaveLink();
  for (size_t pos = 0; pos + 8 <= n; pos += 8) {
    bool so_xor = true;
    for (size_t i = 0; i < 8; ++i)
      so_xor = so_xor && m[pos + i] == (claro[pos + i] ^ t[(pos % 512) + i]);
    EXPECT_EQ(so_xor, pos % 64 != 0) << "offset " << pos;
  }
  DesembaralhaLink(m.data(), n);
  EXPECT_EQ(m, claro);
  // Unscrambling is the walk with DES decryption.
  auto c = claro;
  DesembaralhaLink(c.data(), n);
  EXPECT_EQ(c, Esperado(claro, false));
}

TEST_F(LinkTeste, ShortMessagesAreOnlyXoredWithTheTableStart) {
  const uint8_t* t = TabelaChaveLink();
  for (size_t n = 1; n < 8; ++n) {
    auto m = Mensagem(n, 9);
    const auto claro = m;
    EmbaralhaLink(m.data(), n);
    for (size_t i = 0; i < n; ++i) EXPECT_EQ(m[i], claro[i] ^ t[i]) << n << "/" << i;
  }
}

TEST_F(LinkTeste, TheSecretChangesEveryScrambledByte) {
  const auto claro = Mensagem(600, 1);
  auto sem = claro;
  EmbaralhaLink(sem.data(), sem.size());
  ReiniciaLink();
  EscreveChave(TextoChave(kSegredo));
  auto com = claro;
  EmbaralhaLink(com.data(), com.size());
  EXPECT_EQ(com, Esperado(claro, true));
  size_t iguais = 0;
  for (size_t i = 0; i < claro.size(); ++i) iguais += sem[i] == com[i];
  EXPECT_LT(iguais, 20u);   // chance agreement only
}
