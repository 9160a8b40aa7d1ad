// OfuscaPayload and DesofuscaPayload: the byte chain and the middle-keyed
// shuffle of host payloads.
#include "comms/ofusca.h"

#include <utility>

namespace {

void TrocaPares(uint8_t* p, size_t n) {
  if (n == 0) return;
  const size_t m = (n - 1) / 2;
  const size_t passo = static_cast<size_t>(p[m] % 5) + 1;
  for (size_t j = 1; j < m; j += passo) std::swap(p[j], p[n - j]);
}

}  // namespace

void OfuscaPayload(uint8_t* p, size_t n) {
  uint8_t c = 0;
  for (size_t i = 0; i < n; ++i) {
    c = static_cast<uint8_t>(c ^ static_cast<uint8_t>((p[i] ^ 0x35) + 41));
    p[i] = c;
  }
  TrocaPares(p, n);
}

void DesofuscaPayload(uint8_t* p, size_t n) {
  TrocaPares(p, n);
  uint8_t b = 0;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = p[i];
    p[i] = static_cast<uint8_t>(static_cast<uint8_t>((b ^ c) - 41) ^ 0x35);
    b = c;
  }
}
