// Search and removal of chip data objects in hexadecimal TLV text.
#include "hostmsg/objeto_chip.h"

#include <cstring>

#include "services/texto.h"

namespace {

// Templates nest at most this deep before the text counts as malformed.
constexpr int kMaxAninhamento = 8;

struct Objeto {
  size_t inicio;      // first character of the tag
  size_t tag_tam;     // characters of the tag
  size_t valor;       // first character of the value
  size_t valor_tam;   // characters of the value
};

bool LeByte(const char* t, size_t fim, size_t pos, unsigned* b) {
  if (pos + 2 > fim) return false;
  unsigned char v;
  if (HexParaBytes(t + pos, 2, &v, 1) != 0) return false;
  *b = v;
  return true;
}

// Reads the object that starts at `pos`; false when it is not well formed
// or runs past `fim`.
bool LeObjeto(const char* t, size_t pos, size_t fim, Objeto* o) {
  unsigned b;
  o->inicio = pos;
  if (!LeByte(t, fim, pos, &b)) return false;
  o->tag_tam = (b & 0x1F) == 0x1F ? 4 : 2;
  if (pos + o->tag_tam > fim) return false;
  pos += o->tag_tam;
  unsigned n;
  if (!LeByte(t, fim, pos, &n)) return false;
  pos += 2;
  if (n == 0x81 || n == 0x82) {
    int bytes = n == 0x81 ? 1 : 2;
    n = 0;
    for (int i = 0; i < bytes; ++i, pos += 2) {
      if (!LeByte(t, fim, pos, &b)) return false;
      n = (n << 8) | b;
    }
  } else if (n >= 0x80) {
    return false;
  }
  o->valor = pos;
  o->valor_tam = 2 * static_cast<size_t>(n);
  return o->valor + o->valor_tam <= fim;
}

bool MesmaTag(const char* t, const Objeto& o, const char* tag) {
  return std::strlen(tag) == o.tag_tam && ComparaSemCasoN(t + o.inicio, tag, o.tag_tam) == 0;
}

bool EhModelo(const char* t, const Objeto& o) {
  static constexpr const char* kModelos[] = {"61", "6F", "70", "71", "72", "77", "80", "A5", "BF0C"};
  for (const char* m : kModelos)
    if (MesmaTag(t, o, m)) return true;
  return false;
}

bool Busca(const char* t, size_t pos, size_t fim, const char* tag, int nivel, Objeto* achado) {
  while (pos < fim) {
    Objeto o;
    if (!LeObjeto(t, pos, fim, &o)) return false;
    if (MesmaTag(t, o, tag)) {
      *achado = o;
      return true;
    }
    if (nivel < kMaxAninhamento && EhModelo(t, o) &&
        Busca(t, o.valor, o.valor + o.valor_tam, tag, nivel + 1, achado))
      return true;
    pos = o.valor + o.valor_tam;
  }
  return false;
}

}  // namespace

bool BuscaObjetoChip(const char* dados, const char* tag, size_t* pos, size_t* tam) {
  if (dados == nullptr || tag == nullptr) return false;
  Objeto o;
  if (!Busca(dados, 0, std::strlen(dados), tag, 0, &o)) return false;
  *pos = o.valor;
  *tam = o.valor_tam;
  return true;
}

bool RemoveObjetoChip(char* dados, const char* tag) {
  if (dados == nullptr || tag == nullptr) return false;
  size_t n = std::strlen(dados);
  Objeto o;
  if (!Busca(dados, 0, n, tag, 0, &o)) return false;
  size_t fim = o.valor + o.valor_tam;
  std::memmove(dados + o.inicio, dados + fim, n - fim + 1);
  return true;
}
