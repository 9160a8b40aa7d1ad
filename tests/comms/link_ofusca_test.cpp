// OfuscaPayload / DesofuscaPayload: hand-worked values of the chain and the
// shuffle, the short payloads that are never shuffled, and round trips.
#include <vector>

#include <gtest/gtest.h>

#include "comms/ofusca.h"

namespace {

std::vector<uint8_t> Cadeia(std::vector<uint8_t> p) {
  uint8_t c = 0;
  for (auto& b : p) {
    c = static_cast<uint8_t>(c ^ static_cast<uint8_t>((b ^ 0x35) + 41));
    b = c;
  }
  return p;
}

}  // namespace

TEST(Ofusca, HandWorkedChainAndShuffle) {
  // One byte: (0x00 ^ 0x35) + 41 = 0x5E.
  std::vector<uint8_t> um = {0x00};
  OfuscaPayload(um.data(), 1);
  EXPECT_EQ(um, (std::vector<uint8_t>{0x5E}));

  // Two bytes 0xFF 0xFF: (0xFF^0x35)+41 = 0xCA+0x29 = 0xF3; then 0xF3^0xF3 = 0.
  std::vector<uint8_t> dois = {0xFF, 0xFF};
  OfuscaPayload(dois.data(), 2);
  EXPECT_EQ(dois, (std::vector<uint8_t>{0xF3, 0x00}));

  // Nine bytes: m = 4, the step comes from chained p[4]; j = 1, 1+step, ...
  // while j < 4 swaps p[j] and p[9-j].
  std::vector<uint8_t> nove = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  auto c = Cadeia(nove);
  const size_t passo = c[4] % 5 + 1;
  auto esperado = c;
  for (size_t j = 1; j < 4; j += passo) std::swap(esperado[j], esperado[9 - j]);
  OfuscaPayload(nove.data(), 9);
  EXPECT_EQ(nove, esperado);
  EXPECT_EQ(nove[4], c[4]);   // the middle byte never moves
}

TEST(Ofusca, FourBytesOrFewerAreOnlyChained) {
  for (size_t n = 0; n <= 4; ++n) {
    std::vector<uint8_t> p(n);
    for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(0xA0 + i * 7);
    const auto esperado = Cadeia(p);
    OfuscaPayload(p.data(), n);
    EXPECT_EQ(p, esperado) << n;
  }
  // Five bytes is the first length that shuffles (p[1] with p[4]).
  std::vector<uint8_t> cinco = {9, 8, 7, 6, 5};
  auto c = Cadeia(cinco);
  std::swap(c[1], c[4]);
  OfuscaPayload(cinco.data(), 5);
  EXPECT_EQ(cinco, c);
}

TEST(Ofusca, RoundTripsForEveryLengthAndStep) {
  for (size_t n = 0; n <= 300; ++n) {
    std::vector<uint8_t> p(n);
    for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(i * 131 + n);
    const auto claro = p;
    OfuscaPayload(p.data(), n);
    DesofuscaPayload(p.data(), n);
    ASSERT_EQ(p, claro) << n;
  }
  DesofuscaPayload(nullptr, 0);
}
