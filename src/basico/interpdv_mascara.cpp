// The card numbers of a PDV message's data area: runs of 13 to 19 digits,
// of which all but the first six and the last four are masked.
#include "basico/interpdv_mascara.h"

#include <cstring>
#include <new>
#include <vector>

#include "services/trace.h"

namespace {

constexpr size_t kInicioDados = 30;   // the PDV header is never masked
constexpr size_t kMinCartao = 13;
constexpr size_t kMaxCartao = 19;
constexpr size_t kClaroInicio = 6;
constexpr size_t kClaroFim = 4;
constexpr size_t kMaxPosicao = 0xFFFF;

bool Digito(uint8_t c) { return c >= '0' && c <= '9'; }

// The masked digits of the next card number at or after *pos: true with
// their span; *pos moves past the run.
bool ProximoCartao(const uint8_t* msg, size_t tam, size_t* pos, size_t* inicio, size_t* n) {
  size_t i = *pos < kInicioDados ? kInicioDados : *pos;
  while (i < tam) {
    if (!Digito(msg[i])) {
      ++i;
      continue;
    }
    const size_t run = i;
    while (i < tam && Digito(msg[i])) ++i;
    const size_t digitos = i - run;
    if (digitos < kMinCartao || digitos > kMaxCartao) continue;
    *pos = i;
    *inicio = run + kClaroInicio;
    *n = digitos - kClaroInicio - kClaroFim;
    return true;
  }
  *pos = tam;
  return false;
}

}  // namespace

size_t MaxMascarasCartaoPdv(size_t tam) {
  // Each card number takes at least 13 digits and one byte that ends it.
  return tam <= kInicioDados ? 0 : (tam - kInicioDados) / (kMinCartao + 1) + 1;
}

size_t MascarasCartaoPdv(const uint8_t* msg, size_t tam, MascaraAudit* lista, size_t max) {
  if (msg == nullptr || lista == nullptr) return 0;
  size_t conta = 0, pos = 0, inicio = 0, n = 0;
  while (conta < max && ProximoCartao(msg, tam, &pos, &inicio, &n)) {
    if (inicio + n > kMaxPosicao) break;
    lista[conta++] = {static_cast<uint16_t>(inicio), static_cast<uint16_t>(n)};
  }
  return conta;
}

void OcultaCartoesPdv(uint8_t* msg, size_t tam) {
  if (msg == nullptr) return;
  size_t pos = 0, inicio = 0, n = 0;
  while (ProximoCartao(msg, tam, &pos, &inicio, &n)) std::memset(msg + inicio, '*', n);
}

void GravaAuditPdv(uint8_t tipo, const uint8_t* msg, size_t tam, const char* arquivo, int linha) {
  std::vector<MascaraAudit> lista;
  try {
    lista.resize(MaxMascarasCartaoPdv(tam));
  } catch (const std::bad_alloc&) {
    // Without room for the list only the header, which holds no card
    // number, is recorded.
    GravaAudit(tipo, msg, tam < kInicioDados ? tam : kInicioDados, nullptr, 0, arquivo, linha);
    return;
  }
  const size_t n = MascarasCartaoPdv(msg, tam, lista.data(), lista.size());
  GravaAudit(tipo, msg, tam, lista.data(), static_cast<int>(n), arquivo, linha);
}
