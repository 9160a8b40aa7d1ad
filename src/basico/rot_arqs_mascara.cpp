// Masking of card data in audit records: the caller's masking list, the
// track 2 and track 1 scans, and fields 2, 32 and 55 of host messages.  Every
// track scan stops 14 characters before the end of the data, so no mask
// ever reaches past it, and data too short for a track is left as it is.
#include "basico/rot_arqs_mascara.h"

#include <cstring>

namespace {

// The scans look at most 14 characters ahead of the separator and 10 behind.
constexpr size_t kInicioVarredura = 10;
constexpr size_t kFimVarredura = 14;

bool Digito(uint8_t c) { return c >= '0' && c <= '9'; }

bool SeisDigitos(const uint8_t* p) {
  for (int i = 0; i < 6; ++i)
    if (!Digito(p[i])) return false;
  return true;
}

bool Hexa(uint8_t c) {
  return Digito(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int ValorHexa(uint8_t c) {
  if (Digito(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}

bool Todos(const uint8_t* p, size_t n, bool (*teste)(uint8_t)) {
  for (size_t i = 0; i < n; ++i)
    if (!teste(p[i])) return false;
  return true;
}

bool SeisDigitosOuEspacos(const uint8_t* p) {
  for (int i = 0; i < 6; ++i)
    if (!Digito(p[i]) && p[i] != ' ') return false;
  return true;
}

// A card number keeps its first six and last four digits in clear; the
// numbers of a track have 13 to 19 digits.
constexpr size_t kClaroInicio = 6;
constexpr size_t kClaroFim = 4;
constexpr size_t kMinCartao = 13;
constexpr size_t kMaxCartao = 19;
// The longest track 2 text of an ISO 8583 field 35, after its 2-digit length.
constexpr size_t kMaxTrilha2 = 37;
// A 16-digit number: the six digits hidden from ten to five characters
// before the separator.
constexpr size_t kCartaoPadrao = 16;

// The run of digits that ends just before `fim`, counted up to `max`.
size_t DigitosAntes(const uint8_t* dados, size_t fim, size_t max) {
  size_t n = 0;
  while (n < max && n < fim && Digito(dados[fim - 1 - n])) ++n;
  return n;
}

// A track 2 of an ISO 8583 message: its card number of `cartao` digits
// ends at the separator `sep` and the 2-digit length of field 35 stands
// before it.  The length must cover the number and the separator, stay
// within the field's maximum and the data, and every character of the
// track after the separator must be a digit.
bool PrefixoTrilha2(const uint8_t* dados, size_t tam, size_t sep, size_t cartao) {
  const size_t inicio = sep - cartao;
  const size_t n = static_cast<size_t>((dados[inicio - 2] - '0') * 10 + (dados[inicio - 1] - '0'));
  if (n < cartao + 1 || n > kMaxTrilha2 || n > tam - inicio) return false;
  return Todos(dados + sep + 1, inicio + n - sep - 1, Digito);
}

// Whether the digits pass the check digit that card numbers carry (Luhn).
bool DigitoVerificadorOk(const uint8_t* p, size_t n) {
  unsigned soma = 0;
  for (size_t i = 0; i < n; ++i) {
    unsigned d = static_cast<unsigned>(p[n - 1 - i] - '0');
    if (i % 2 == 1) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
    soma += d;
  }
  return soma % 10 == 0;
}

// The length of the card number before the track 2 separator at `sep`.
// A run of 13 to 19 digits is the number.  A longer run holds the field's
// length in front of the number: of the lengths that fit the track, the
// longest whose number passes its check digit (a card number always does),
// else the longest that fits, else 19.  The mask of a longer reading covers
// the mask of every shorter one, so whichever reading is the true one, its
// number shows no more than its first six and last four digits.  A run too
// short for a card number keeps the 16-digit mask.
size_t TamanhoCartaoTrilha2(const uint8_t* dados, size_t tam, size_t sep) {
  const size_t run = DigitosAntes(dados, sep, kMaxCartao + 2);
  if (run < kMinCartao) return kCartaoPadrao;
  if (run <= kMaxCartao) return run;
  size_t cabe = 0, verificado = 0;
  for (size_t c = kMinCartao; c <= kMaxCartao && c + 2 <= run; ++c) {
    if (!PrefixoTrilha2(dados, tam, sep, c)) continue;
    cabe = c;
    if (DigitoVerificadorOk(dados + sep - c, c)) verificado = c;
  }
  if (verificado > 0) return verificado;
  return cabe > 0 ? cabe : kMaxCartao;
}

// The card number of a track 1 ends at the separator `sep`.  After the
// format code "B", a number of 13 to 19 digits (spaces between them are
// kept) shows only its first six and last four digits; any other text
// keeps the 16-digit mask, the six characters ten to five before `sep`.
void MascaraCartaoTrilha1(uint8_t* dados, size_t sep) {
  constexpr size_t kMaxCampo = 32;   // digits and spaces looked at
  size_t inicio = sep, digitos = 0;
  while (sep - inicio < kMaxCampo && inicio > 0 &&
         (Digito(dados[inicio - 1]) || dados[inicio - 1] == ' ')) {
    --inicio;
    digitos += Digito(dados[inicio]);
  }
  const bool formato = inicio > 0 && (dados[inicio - 1] == 'B' || dados[inicio - 1] == 'b');
  if (!formato || digitos < kMinCartao || digitos > kMaxCartao) {
    std::memset(dados + sep - 10, '*', 6);
    return;
  }
  for (size_t i = inicio, k = 0; i < sep; ++i) {
    if (!Digito(dados[i])) continue;
    if (k >= kClaroInicio && k < digitos - kClaroFim) dados[i] = '*';
    ++k;
  }
}

// Where a host message (ISO 8583 in characters: type, bitmaps, then the
// fields in order) keeps its card number, field 2, its acquirer code,
// field 32 (the card's first 11 digits), and its chip data objects, field
// 55.  Reaching field 55 takes the length form of every field before it.
// The audit sits below the host-message codec, so the forms of fields 2 to
// 55 are given here again.
constexpr size_t kTipoMsg = 4, kMapaMsg = 16;
constexpr size_t kMaxAdquirente = 11;
constexpr int kUltimoCampoHost = 55;

enum FormaCampoHost : uint8_t { kFixo, kLL, kLLL };
struct CampoHost {
  uint8_t forma;
  uint16_t largura;   // the width of a fixed field, the maximum of the others
};
constexpr CampoHost kCamposHost[kUltimoCampoHost + 1] = {
    {kFixo, 0},   {kFixo, 0},   {kLL, 19},    {kFixo, 6},   {kFixo, 12},  {kFixo, 12},   // 0-5
    {kFixo, 12},  {kFixo, 10},  {kFixo, 8},   {kFixo, 8},   {kFixo, 8},   {kFixo, 6},    // 6-11
    {kFixo, 6},   {kFixo, 4},   {kFixo, 4},   {kFixo, 4},   {kFixo, 4},   {kFixo, 4},    // 12-17
    {kFixo, 4},   {kFixo, 3},   {kFixo, 3},   {kFixo, 3},   {kFixo, 3},   {kFixo, 3},    // 18-23
    {kFixo, 3},   {kFixo, 2},   {kFixo, 2},   {kFixo, 1},   {kFixo, 9},   {kFixo, 9},    // 24-29
    {kFixo, 9},   {kFixo, 9},   {kLL, 11},    {kLL, 11},    {kLL, 28},    {kLL, 37},     // 30-35
    {kLLL, 104},  {kFixo, 12},  {kFixo, 6},   {kFixo, 2},   {kFixo, 3},   {kFixo, 8},    // 36-41
    {kFixo, 15},  {kFixo, 40},  {kLL, 25},    {kLL, 76},    {kLLL, 999},  {kLLL, 999},   // 42-47
    {kLLL, 999},  {kFixo, 3},   {kFixo, 3},   {kFixo, 3},   {kFixo, 16},  {kLL, 6},      // 48-53
    {kLL, 120},   {kLLL, 999},                                                           // 54-55
};

struct CamposCartaoHost {
  size_t cartao = 0, tam_cartao = 0;            // field 2
  size_t adquirente = 0, tam_adquirente = 0;    // field 32
  size_t chip = 0, tam_chip = 0;                // field 55
};

bool BitHost(const uint8_t* m, int campo) {
  const int nibble = ValorHexa(m[kTipoMsg + (campo - 1) / 4]);
  return (nibble & (8 >> ((campo - 1) % 4))) != 0;
}

// Walks fields 2 to 55; false for data that is no such message.  A field
// that would run past the data, a length of more than the field's maximum
// or not digits, or a field 2 or 32 that is not digits, ends the walk with
// what was found before it.
bool LocalizaCamposCartaoHost(const uint8_t* m, size_t tam, CamposCartaoHost* c) {
  if (tam < kTipoMsg + kMapaMsg || !Todos(m, kTipoMsg, Digito) ||
      !Todos(m + kTipoMsg, kMapaMsg, Hexa))
    return false;
  size_t pos = kTipoMsg + kMapaMsg;
  if (BitHost(m, 1)) {   // the secondary bitmap comes first
    if (tam < pos + kMapaMsg || !Todos(m + pos, kMapaMsg, Hexa)) return false;
    pos += kMapaMsg;
  }
  for (int campo = 2; campo <= kUltimoCampoHost; ++campo) {
    if (!BitHost(m, campo)) continue;
    const CampoHost& d = kCamposHost[campo];
    size_t n = d.largura;
    if (d.forma != kFixo) {
      const size_t digitos = d.forma == kLL ? 2 : 3;
      if (tam - pos < digitos || !Todos(m + pos, digitos, Digito)) return true;
      n = 0;
      for (size_t i = 0; i < digitos; ++i) n = n * 10 + static_cast<size_t>(m[pos + i] - '0');
      pos += digitos;
      if (n > d.largura) return true;
    }
    if (tam - pos < n) return true;
    if (campo == 2 || campo == 32) {
      if (n == 0 || !Todos(m + pos, n, Digito)) return true;
      if (campo == 2) {
        c->cartao = pos;
        c->tam_cartao = n;
      } else {
        c->adquirente = pos;
        c->tam_adquirente = n;
      }
    } else if (campo == kUltimoCampoHost) {
      c->chip = pos;
      c->tam_chip = n;
    }
    pos += n;
  }
  return true;
}

// A card number in clear: its first six and last four digits; a number of
// ten digits or fewer is hidden whole.
void MascaraNumeroCartao(uint8_t* p, size_t n) {
  if (n > kClaroInicio + kClaroFim)
    std::memset(p + kClaroInicio, '*', n - kClaroInicio - kClaroFim);
  else
    std::memset(p, '*', n);
}

// The acquirer code shows only the first six digits of the card.
void MascaraAdquirente(uint8_t* p, size_t n) {
  if (n > kClaroInicio) std::memset(p + kClaroInicio, '*', n - kClaroInicio);
}

// One byte of chip data written as two hexadecimal digits.
bool ByteHexa(const uint8_t* p, size_t n, size_t pos, unsigned* b) {
  if (pos + 2 > n || !Hexa(p[pos]) || !Hexa(p[pos + 1])) return false;
  *b = static_cast<unsigned>(ValorHexa(p[pos]) * 16 + ValorHexa(p[pos + 1]));
  return true;
}

// The chip data objects that hold the card number (as digits written in
// hexadecimal): 5A the number itself, 57 and 9F6B the track 2 equivalent
// data, the number then 'D' and the rest of the track.
constexpr unsigned kTagCartaoChip = 0x5A;
constexpr unsigned kTagTrilha2Chip = 0x57;
constexpr unsigned kTagTrilha2SemContato = 0x9F6B;
constexpr unsigned kModelosChip[] = {0x61, 0x6F, 0x70, 0x71, 0x72, 0x77, 0x80, 0xA5, 0xBF0C};

bool ModeloChip(unsigned tag) {
  for (unsigned m : kModelosChip)
    if (m == tag) return true;
  return false;
}

// The card number of a chip data object's value: its leading digits, up to
// the 'F' filler or the track separator 'D'.  With a track, also the six
// characters 8 to 13 after the separator, as in a magnetic track.
void MascaraValorChip(uint8_t* v, size_t n, bool trilha) {
  size_t digitos = 0;
  while (digitos < n && Digito(v[digitos])) ++digitos;
  MascaraNumeroCartao(v, digitos);
  if (!trilha || digitos >= n || (v[digitos] != 'D' && v[digitos] != 'd')) return;
  for (size_t i = digitos + 8; i <= digitos + 13 && i < n; ++i) v[i] = '*';
}

// Walks the chip data objects of field 55 (BER-TLV written as hexadecimal
// text), stepping into templates, and masks the card number wherever an
// object holds it.  Text that is not well formed ends the walk.
void MascaraDadosChip(uint8_t* p, size_t n) {
  size_t i = 0;
  unsigned b = 0;
  while (ByteHexa(p, n, i, &b)) {
    unsigned tag = b;
    size_t j = i + 2;
    if ((b & 0x1F) == 0x1F) {   // a tag of two bytes
      if (!ByteHexa(p, n, j, &b)) return;
      tag = tag << 8 | b;
      j += 2;
    }
    unsigned l = 0;
    if (!ByteHexa(p, n, j, &l)) return;
    j += 2;
    if (l == 0x81 || l == 0x82) {
      const unsigned bytes = l - 0x80;
      l = 0;
      for (unsigned k = 0; k < bytes; ++k, j += 2) {
        if (!ByteHexa(p, n, j, &b)) return;
        l = l << 8 | b;
      }
    } else if (l > 0x7F) {
      return;
    }
    const size_t valor = 2 * static_cast<size_t>(l);
    if (valor > n - j) return;
    if (ModeloChip(tag)) {   // its value is a list of objects: walk into it
      i = j;
      continue;
    }
    if (tag == kTagCartaoChip || tag == kTagTrilha2Chip || tag == kTagTrilha2SemContato)
      MascaraValorChip(p + j, valor, tag != kTagCartaoChip);
    i = j + valor;
  }
}

}  // namespace

void AplicaMascarasAudit(uint8_t* dados, size_t tam, const MascaraAudit* lista, int num) {
  if (dados == nullptr || lista == nullptr) return;
  for (int i = 0; i < num; ++i) {
    size_t pos = lista[i].pos;
    size_t n = lista[i].tam;
    if (n == 0 || pos >= tam) continue;
    if (n > tam - pos) n = tam - pos;
    std::memset(dados + pos, '*', n);
  }
}

void MascaraTrilha2Audit(uint8_t* dados, size_t tam) {
  if (dados == nullptr || tam <= kInicioVarredura + kFimVarredura) return;
  for (size_t i = kInicioVarredura; i < tam - kFimVarredura; ++i) {
    if (dados[i] != '=' || !SeisDigitos(dados + i - 10)) continue;
    const size_t cartao = TamanhoCartaoTrilha2(dados, tam, i);
    std::memset(dados + i - cartao + kClaroInicio, '*', cartao - kClaroInicio - kClaroFim);
    std::memset(dados + i + 8, '*', 6);
    return;
  }
}

void MascaraTrilha1Audit(uint8_t* dados, size_t tam) {
  if (dados == nullptr || tam <= kInicioVarredura + kFimVarredura) return;
  for (size_t i = kInicioVarredura; i < tam - kFimVarredura; ++i) {
    if (dados[i] != '^' || !SeisDigitosOuEspacos(dados + i - 6)) continue;
    MascaraCartaoTrilha1(dados, i);
    const void* fim = std::memchr(dados + i + 1, '^', tam - i - 1);
    if (fim == nullptr) return;
    size_t j = static_cast<size_t>(static_cast<const uint8_t*>(fim) - dados);
    size_t c = j - i - 1;
    size_t inicio = j - (c / 4) * 3;
    size_t n = c / 2;
    // A name of two or three characters would reach the separator itself;
    // the separator is kept so the track stays readable.
    if (n > j - inicio) n = j - inicio;
    std::memset(dados + inicio, 'n', n);
    return;
  }
}

void MascaraCamposHostAudit(uint8_t* dados, size_t tam, size_t inicio) {
  if (dados == nullptr || inicio > tam) return;
  CamposCartaoHost c;
  if (!LocalizaCamposCartaoHost(dados + inicio, tam - inicio, &c)) return;
  uint8_t* m = dados + inicio;
  if (c.tam_cartao > 0) MascaraNumeroCartao(m + c.cartao, c.tam_cartao);
  if (c.tam_chip > 0) MascaraDadosChip(m + c.chip, c.tam_chip);
  // Six digits or fewer are no more than the card's first six.
  if (c.tam_adquirente <= kClaroInicio) return;
  // The same digits stand again in the original data of field 90.
  uint8_t original[kMaxAdquirente];
  std::memcpy(original, m + c.adquirente, c.tam_adquirente);
  MascaraAdquirente(m + c.adquirente, c.tam_adquirente);
  for (size_t i = c.adquirente + c.tam_adquirente; i + c.tam_adquirente <= tam - inicio; ++i) {
    if (std::memcmp(m + i, original, c.tam_adquirente) != 0) continue;
    MascaraAdquirente(m + i, c.tam_adquirente);
    i += c.tam_adquirente - 1;
  }
  explicit_bzero(original, sizeof original);
}

bool TipoAuditComTrilhas(uint8_t tipo) { return tipo == 50 || tipo == 51 || tipo == 52; }

int InicioMensagemHostAudit(uint8_t tipo) {
  if (tipo == 51) return 0;
  if (tipo == 52) return 9;
  return -1;
}
