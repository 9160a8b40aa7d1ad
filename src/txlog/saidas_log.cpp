// The output codes of GravaLog: one row per code with its width and how
// its value is formed.
#include "txlog/saidas_log.h"

#include <cstdio>
#include <cstring>

namespace {

enum Forma { TEXTO, FIXO, BCD, BASE36 };
enum Fonte { NSU, MMDD, AAMMDD, AAAAMMDD, HORA, MMDDHHMMSS, ANO, HORA_GMT, MMDDHHMMSS_GMT };

struct CodigoSaida {
  Fonte fonte;
  Forma forma;
  size_t tam;   // bytes written into the destination
};

// Indexed by code - 1.
constexpr CodigoSaida kCodigos[] = {
    {NSU, FIXO, 6},         {NSU, TEXTO, 7},        {MMDD, FIXO, 4},
    {MMDD, TEXTO, 5},       {AAMMDD, FIXO, 6},      {AAMMDD, TEXTO, 7},
    {AAAAMMDD, FIXO, 8},    {AAAAMMDD, TEXTO, 9},   {HORA, FIXO, 6},
    {HORA, TEXTO, 7},       {MMDDHHMMSS, FIXO, 10}, {ANO, TEXTO, 5},
    {HORA_GMT, FIXO, 6},    {HORA_GMT, TEXTO, 7},   {MMDDHHMMSS_GMT, FIXO, 10},
    {NSU, BCD, 3},          {MMDD, BCD, 2},         {HORA, BCD, 3},
    {MMDDHHMMSS, BCD, 5},   {NSU, BASE36, 4},       {NSU, BASE36, 5},
};
constexpr int kNumCodigos = static_cast<int>(sizeof kCodigos / sizeof kCodigos[0]);
static_assert(kNumCodigos == LOG_SAIDA_NSU_BASE36_TEXTO);

bool CodigoValido(int codigo) { return codigo >= 1 && codigo <= kNumCodigos; }

// The digits of a source.
void Digitos(Fonte f, const char nsu[6], const MomentoLog& m, char* s, size_t room) {
  const NV_DataHora& l = m.local;
  const NV_DataHora& g = m.gmt;
  switch (f) {
    case NSU: std::snprintf(s, room, "%.6s", nsu); break;
    case MMDD: std::snprintf(s, room, "%02d%02d", l.mes, l.dia); break;
    case AAMMDD: std::snprintf(s, room, "%02d%02d%02d", l.ano % 100, l.mes, l.dia); break;
    case AAAAMMDD: std::snprintf(s, room, "%04d%02d%02d", l.ano, l.mes, l.dia); break;
    case HORA: std::snprintf(s, room, "%02d%02d%02d", l.hora, l.minuto, l.segundo); break;
    case MMDDHHMMSS:
      std::snprintf(s, room, "%02d%02d%02d%02d%02d", l.mes, l.dia, l.hora, l.minuto, l.segundo);
      break;
    case ANO: std::snprintf(s, room, "%04d", l.ano); break;
    case HORA_GMT: std::snprintf(s, room, "%02d%02d%02d", g.hora, g.minuto, g.segundo); break;
    case MMDDHHMMSS_GMT:
      std::snprintf(s, room, "%02d%02d%02d%02d%02d", g.mes, g.dia, g.hora, g.minuto, g.segundo);
      break;
  }
}

// The NSU's value as four base-36 digits, most significant first.
void Base36(const char nsu[6], char saida[4]) {
  static constexpr char kDig[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  long v = 0;
  for (int i = 0; i < 6; i++) v = v * 10 + (nsu[i] - '0');
  for (int i = 3; i >= 0; i--) {
    saida[i] = kDig[v % 36];
    v /= 36;
  }
}

}  // namespace

size_t TamanhoSaida(int codigo) { return CodigoValido(codigo) ? kCodigos[codigo - 1].tam : 0; }

void PreencheSaida(int codigo, void* destino, const char nsu[6], const MomentoLog& m) {
  if (!CodigoValido(codigo) || destino == nullptr) return;
  const CodigoSaida& c = kCodigos[codigo - 1];
  auto* d = static_cast<uint8_t*>(destino);
  char s[16] = {};
  if (c.forma == BASE36) Base36(nsu, s);
  else Digitos(c.fonte, nsu, m, s, sizeof s);
  if (c.forma == BCD) {
    for (size_t i = 0; i < c.tam; i++)
      d[i] = static_cast<uint8_t>(((s[2 * i] - '0') << 4) | (s[2 * i + 1] - '0'));
    return;
  }
  // Text forms carry the zero that ends s; fixed forms stop before it.
  std::memcpy(d, s, c.tam);
}

void GuardaSaidas(const SaidaLog* saidas, CopiaSaidas* copia) {
  copia->itens.clear();
  for (const SaidaLog* s = saidas; s != nullptr && s->codigo != LOG_SAIDA_FIM; s++) {
    const size_t tam = TamanhoSaida(s->codigo);
    if (tam == 0 || s->destino == nullptr) continue;
    CopiaSaidas::Item item{s->destino, tam, {}};
    std::memcpy(item.bytes, s->destino, tam);
    copia->itens.push_back(item);
  }
}

void RestauraSaidas(const CopiaSaidas& copia) {
  // In reverse order, so that overlapping destinations end as they began.
  for (auto it = copia.itens.rbegin(); it != copia.itens.rend(); ++it)
    std::memcpy(it->destino, it->bytes, it->tam);
}

void PreencheSaidas(const SaidaLog* saidas, const char nsu[6], const MomentoLog& m) {
  for (const SaidaLog* s = saidas; s != nullptr && s->codigo != LOG_SAIDA_FIM; s++)
    PreencheSaida(s->codigo, s->destino, nsu, m);
}
