// Search and removal of chip data objects in hexadecimal TLV text.
#include "hostmsg/objeto_chip.h"

#include <cstdio>
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

// The object found and the templates around it, outermost first.
struct Achado {
  Objeto objeto;
  Objeto modelos[kMaxAninhamento];
  int num_modelos;
};

bool Busca(const char* t, size_t pos, size_t fim, const char* tag, int nivel, Achado* achado) {
  while (pos < fim) {
    Objeto o;
    if (!LeObjeto(t, pos, fim, &o)) return false;
    if (MesmaTag(t, o, tag)) {
      achado->objeto = o;
      achado->num_modelos = nivel;
      return true;
    }
    if (nivel < kMaxAninhamento && EhModelo(t, o)) {
      achado->modelos[nivel] = o;
      if (Busca(t, o.valor, o.valor + o.valor_tam, tag, nivel + 1, achado)) return true;
    }
    pos = o.valor + o.valor_tam;
  }
  return false;
}

// Rewrites the length of a template whose value lost `menos` characters, in
// the form it already has (one byte, 0x81 and one, or 0x82 and two), so
// that the positions of everything before the removed object stay.
void EncurtaModelo(char* t, const Objeto& m, size_t menos) {
  const size_t inicio = m.inicio + m.tag_tam;
  const size_t largura = m.valor - inicio;   // 2, 4 or 6 characters
  const size_t digitos = largura == 2 ? 2 : largura - 2;
  const unsigned bytes = static_cast<unsigned>((m.valor_tam - menos) / 2);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%0*X", static_cast<int>(digitos), bytes);
  std::memcpy(t + m.valor - digitos, hex, digitos);
}

}  // namespace

bool BuscaObjetoChip(const char* dados, const char* tag, size_t* pos, size_t* tam) {
  if (dados == nullptr || tag == nullptr) return false;
  Achado a;
  if (!Busca(dados, 0, std::strlen(dados), tag, 0, &a)) return false;
  *pos = a.objeto.valor;
  *tam = a.objeto.valor_tam;
  return true;
}

// The templates that held the object are shortened with it, so that the
// list stays well formed for the host.
bool RemoveObjetoChip(char* dados, const char* tag) {
  if (dados == nullptr || tag == nullptr) return false;
  size_t n = std::strlen(dados);
  Achado a;
  if (!Busca(dados, 0, n, tag, 0, &a)) return false;
  const Objeto& o = a.objeto;
  size_t fim = o.valor + o.valor_tam;
  for (int i = 0; i < a.num_modelos; ++i) EncurtaModelo(dados, a.modelos[i], fim - o.inicio);
  std::memmove(dados + o.inicio, dados + fim, n - fim + 1);
  return true;
}
