// The decoded form of a PDV reply: one line for the frame, one for the
// header, one per field.  The result block (tag H) is split into its parts.
#include "imprime_pdv.h"

#include <cstddef>
#include <cstdio>

#include "basico/interpdv.h"
#include "kovtiquetal/msg_pdv.h"

namespace {

struct ParteBloco {
  const char* nome;
  size_t pos, tam;
};

// The 85-byte result block.
constexpr ParteBloco kPartesBloco[] = {
    {"code", 0, 2},       {"date", 2, 4},     {"time", 6, 6},
    {"document", 12, 9},  {"establishment", 21, 15}, {"authorisation", 36, 6},
    {"extra1", 42, 9},    {"extra2", 51, 4},  {"extra3", 55, 6},
    {"network_name", 61, 16}, {"nsu", 77, 6}, {"network", 83, 2},
};

void ImprimeBloco(const uint8_t* v) {
  std::printf("  field H:");
  for (const ParteBloco& p : kPartesBloco)
    std::printf(" %s \"%s\"", p.nome, TextoVisivel(v + p.pos, p.tam).c_str());
  std::printf("\n");
}

void ImprimeCampo(uint8_t tag, const uint8_t* v, size_t n) {
  if (tag == kTagResultado && n == kTamBlocoResultado) return ImprimeBloco(v);
  std::printf("  field %c (%zu bytes): \"%s\"\n", tag >= 0x20 && tag < 0x7f ? tag : '?', n,
              TextoVisivel(v, n).c_str());
}

// Walks the fields of the data area [pos, fim).
void ImprimeCampos(const uint8_t* m, size_t pos, size_t fim) {
  while (pos < fim) {
    size_t inicio, tam;
    uint8_t tag;
    if (m[pos] == 1 && pos + 5 <= fim && m[pos + 1] == kTagLongo) {
      const size_t l16 = LeU16(m + pos + 2);
      tag = m[pos + 4];
      inicio = pos + 5;
      tam = l16 > 0 ? l16 - 1 : 0;
    } else if (m[pos] >= 1 && pos + 2 <= fim) {
      tag = m[pos + 1];
      inicio = pos + 2;
      tam = m[pos] - 1u;
    } else {
      break;
    }
    if (inicio + tam > fim) break;
    ImprimeCampo(tag, m + inicio, tam);
    pos = inicio + tam;
  }
  if (pos < fim) std::printf("  malformed field at data offset %zu\n", pos - kTamCabecalhoPdv);
}

}  // namespace

void ImprimeQuadroPdv(int numero, const Bytes& quadro, bool hex) {
  if (quadro.size() < kTamRotaPdv) {
    std::printf("message %d: %zu bytes, no routing number\n", numero, quadro.size());
    return;
  }
  const uint8_t* m = quadro.data() + kTamRotaPdv;
  const size_t n = quadro.size() - kTamRotaPdv;
  std::printf("message %d: %zu bytes, route %u\n", numero, n, LeU16(quadro.data()));
  if (n >= kTamCabecalhoPdv) {
    const unsigned dados = LeU16(m + kPosTamDadosPdv);
    std::printf(
        "  header: format %u, type %u, subtype %u, terminal \"%s\", queue \"%s\", seq %u, "
        "reserved %s, company \"%s\", data %u\n",
        LeU16(m + kPosFormatoPdv), m[kPosTipoPdv], m[kPosSubTipoPdv],
        TextoVisivel(m + kPosTerminalPdv, 8).c_str(), TextoVisivel(m + offsetof(CabecalhoPdv, FilaResposta), 3).c_str(),
        m[offsetof(CabecalhoPdv, SeqPdv)], Hex(m + offsetof(CabecalhoPdv, Reservado), 4).c_str(), TextoVisivel(m + kPosEmpresaPdv, 8).c_str(), dados);
    const size_t fim = kTamCabecalhoPdv + dados;
    if (fim > n) std::printf("  data length runs past the %zu bytes received\n", n);
    ImprimeCampos(m, kTamCabecalhoPdv, fim < n ? fim : n);
  } else {
    std::printf("  shorter than the 30-byte header\n");
  }
  if (hex) std::printf("  hex: %s\n", Hex(quadro.data(), quadro.size()).c_str());
  std::fflush(stdout);
}
