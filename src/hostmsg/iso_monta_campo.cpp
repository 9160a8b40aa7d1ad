// MontaCampo: checks one value against its TabCampos row and appends it to
// the message being built, with the type's alignment and fill for fixed
// fields and the character-count prefix for LLVAR and LLLVAR fields.  A
// track (type z) is cleaned of its sentinels and its card number is stored
// in the current log record.
#include <cstring>

#include "hostmsg/consistencia.h"
#include "hostmsg/iso_envio.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/registros_log.h"
#include "services/texto.h"

namespace {

constexpr size_t kMaxCartaoTrilha = 17;
constexpr size_t kMaxTrilhaLimpa = 999;

bool AceitoNumerico(unsigned char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-'; }

bool AceitoAlfanumerico(unsigned char c) {
  return AceitoNumerico(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ';
}

bool TodosAceitos(const unsigned char* v, size_t n, bool (*aceito)(unsigned char)) {
  for (size_t i = 0; i < n; ++i)
    if (!aceito(v[i])) return false;
  return true;
}

int Recusa(int resultado, const Campo& c, const void* valor, size_t tam) {
  ErroConsistenciaCampo(
      resultado == RES_DADOS_INCONSISTENTES ? "DADOS INCONSISTENTES" : "TAMANHO ERRADO", c.numero,
      tam, valor);
  return resultado;
}

// The track text without its leading ";" and from its first "?" on, taking
// at most `tam` characters of the value (the ";" counted) and no more than
// `limite` + 1, enough to see that it is too long.
size_t LimpaTrilha(const unsigned char* v, size_t tam, char* saida, size_t limite) {
  size_t n = 0;
  for (size_t i = 0; i < tam && n <= limite; ++i) {
    if (i == 0 && v[i] == ';') continue;
    if (v[i] == '?') break;
    saida[n++] = static_cast<char>(v[i]);
  }
  return n;
}

// The card number of a cleaned track: the characters before the first "=",
// no more than 17.  0 when the text has no "=" and fewer than 17 characters.
size_t TamanhoCartaoTrilha(const char* limpo, size_t n, bool* valido) {
  const void* igual = std::memchr(limpo, '=', n);
  size_t ate = igual ? static_cast<size_t>(static_cast<const char*>(igual) - limpo) : n;
  *valido = igual != nullptr || n >= kMaxCartaoTrilha;
  return ate < kMaxCartaoTrilha ? ate : kMaxCartaoTrilha;
}

void GuardaCartao(const char* cartao, size_t n) {
  std::memset(RegLog.Cartao, 0, sizeof RegLog.Cartao);
  std::memcpy(RegLog.Cartao, cartao, n < sizeof RegLog.Cartao ? n : sizeof RegLog.Cartao - 1);
}

// Appends `n` characters (or, for hex, n bytes as 2n characters) in the
// field's length form.
void Anexa(const Campo& c, const unsigned char* dado, size_t n, bool hex) {
  char* p = MsgEnvio.buffer + MsgEnvio.pos;
  size_t chars = hex ? 2 * n : n;
  size_t escrito;
  if (c.forma == FORMA_FIXA) {
    size_t largura = LarguraFixa(c);
    bool direita = c.tipo == TIPO_N || c.tipo == TIPO_B;
    char enche = (c.tipo == TIPO_N || c.tipo == TIPO_B || c.tipo == TIPO_Z) ? '0' : ' ';
    std::memset(p, enche, largura);
    p += direita ? largura - chars : 0;
    escrito = largura;
  } else {
    size_t digitos = DigitosPrefixo(c);
    size_t conta = chars;
    for (size_t i = digitos; i-- > 0; conta /= 10) p[i] = static_cast<char>('0' + conta % 10);
    p += digitos;
    escrito = digitos + chars;
  }
  if (hex) {
    char par[3];
    for (size_t i = 0; i < n; ++i) {
      BytesParaHex(dado + i, 1, par);
      std::memcpy(p + 2 * i, par, 2);
    }
  } else if (chars > 0) {
    std::memcpy(p, dado, chars);
  }
  MsgEnvio.pos += escrito;
  MsgEnvio.tamanho = static_cast<uint16_t>(MsgEnvio.tamanho + escrito);
}

}  // namespace

int MontaCampo(const void* valor, size_t tam, const Campo& c) {
  const unsigned char* v = static_cast<const unsigned char*>(valor);
  if (v == nullptr) tam = 0;
  const unsigned char* dado = v;
  const size_t maximo = MaximoEnvio(c);
  size_t n = tam;
  bool hex = false;
  char limpo[kMaxTrilhaLimpa + 2];
  size_t cartao = 0;

  switch (c.tipo) {
    case TIPO_N:
      if (!TodosAceitos(v, tam, AceitoNumerico)) return Recusa(RES_DADOS_INCONSISTENTES, c, v, tam);
      if (tam > maximo) return Recusa(RES_TAMANHO_ERRADO, c, v, tam);
      break;
    case TIPO_AN:
      if (!TodosAceitos(v, tam, AceitoAlfanumerico))
        return Recusa(RES_DADOS_INCONSISTENTES, c, v, tam);
      if (tam > maximo) return Recusa(RES_TAMANHO_ERRADO, c, v, tam);
      break;
    case TIPO_ANS:
      if (tam > maximo) return Recusa(RES_TAMANHO_ERRADO, c, v, tam);
      break;
    case TIPO_B:
      if (2 * tam > LarguraFixa(c)) return Recusa(RES_TAMANHO_ERRADO, c, v, tam);
      hex = true;
      break;
    case TIPO_Z: {
      size_t limite = maximo < kMaxTrilhaLimpa ? maximo : kMaxTrilhaLimpa;
      n = LimpaTrilha(v, tam, limpo, limite);
      bool valido;
      cartao = TamanhoCartaoTrilha(limpo, n, &valido);
      if (n > maximo || !valido) {
        explicit_bzero(limpo, n);
        return Recusa(RES_TAMANHO_ERRADO, c, v, tam);
      }
      dado = reinterpret_cast<const unsigned char*>(limpo);
      break;
    }
  }

  size_t chars = hex ? 2 * n : n;
  size_t precisa = c.forma == FORMA_FIXA ? LarguraFixa(c) : DigitosPrefixo(c) + chars;
  if (MsgEnvio.buffer == nullptr || MsgEnvio.pos + precisa > MsgEnvio.capacidade) {
    if (c.tipo == TIPO_Z) explicit_bzero(limpo, n);
    return Recusa(RES_TAMANHO_ERRADO, c, v, tam);
  }
  Anexa(c, dado, n, hex);
  if (c.tipo == TIPO_Z) {
    GuardaCartao(limpo, cartao);
    explicit_bzero(limpo, n);
  }
  return RES_MONTADA;
}
