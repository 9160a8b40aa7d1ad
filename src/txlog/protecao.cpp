// Scrambling of the protected area: a swap pass over the first half paired
// with the second, then the first digit turned into a letter and every
// following byte chained to the one before it.
#include "txlog/protecao.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// The shortest card number shown with its first six and last four digits.
static constexpr size_t kMinCartaoVisivel = 13;

// Exchanges b[k] and b[n - k] for k = 1, 1 + step, ... below the middle m,
// where step comes from b[m]; its own inverse, and b[m] is never touched.
static void TrocaPares(uint8_t* b, size_t n) {
  const size_t m = (n - 1) / 2;
  const size_t passo = static_cast<size_t>(b[m] % 3) + 1;
  for (size_t k = 1; k < m; k += passo)
    if (n - k != m) std::swap(b[k], b[n - k]);
}

void EmbaralhaArea(uint8_t* b, size_t n) {
  if (n == 0 || b[0] < '0' || b[0] > '9') return;
  TrocaPares(b, n);
  const uint8_t c = static_cast<uint8_t>(b[0] % 16);
  b[0] = static_cast<uint8_t>('a' + c);
  uint8_t p = c;
  for (size_t i = 1; i < n; i++) {
    b[i] = static_cast<uint8_t>((((p ^ c) + b[i] + 1) ^ 0x13) + 0x68);
    p = b[i];
  }
}

void DesembaralhaArea(uint8_t* b, size_t n) {
  if (n == 0 || b[0] < 'a' || b[0] > 'j') return;
  const uint8_t c = static_cast<uint8_t>(b[0] - 'a');
  b[0] = static_cast<uint8_t>('0' + c);
  uint8_t p = c;
  for (size_t i = 1; i < n; i++) {
    const uint8_t x = b[i];
    b[i] = static_cast<uint8_t>(((x - 0x68) ^ 0x13) - 1 - (p ^ c));
    p = x;
  }
  TrocaPares(b, n);
}

void CartaoMascarado(const uint8_t* guardado, size_t n, char* saida, size_t room) {
  if (room == 0) return;
  std::vector<uint8_t> c(guardado, guardado + n);
  DesembaralhaArea(c.data(), n);
  size_t tam = 0;
  bool digitos = true;
  while (tam < n && c[tam] != 0) digitos = digitos && c[tam] >= '0' && c[tam] <= '9', tam++;
  tam = std::min(tam, room - 1);
  for (size_t i = 0; i < tam; i++)
    saida[i] = digitos && tam >= kMinCartaoVisivel && (i < 6 || i >= tam - 4)
                   ? static_cast<char>(c[i])
                   : '*';
  saida[tam] = '\0';
  volatile uint8_t* v = c.data();
  for (size_t i = 0; i < n; i++) v[i] = 0;   // the clear number does not outlive the call
}
