// The reply builders of the PDV protocol: the field writer in its short and
// long forms, the refusal or notice with its D and H fields, and the
// header-only reply.  Replies are built in the reply buffer from the header
// of the current request.
#include <cstring>

#include "kovtiquetal/modulo.h"
#include "kovtiquetal/protocolo_pdv.h"

namespace {

constexpr size_t kTamCodigoResultado = 2;
constexpr size_t kMaxValorLongo = 65534;   // L16 = 1 + value length

// The reply buffer starts as the current request's header with the result.
void CopiaCabecalho(uint8_t resultado) {
  std::memcpy(RespostaPdv, MsgPdv, kTamCabecalhoPdv);
  RespostaPdv[kPosTipoPdv] = resultado;
}

}  // namespace

size_t EscreveCampoPdv(uint8_t* buf, size_t room, uint8_t tag, const void* valor, size_t tam) {
  if (buf == nullptr || (tam > 0 && valor == nullptr)) return 0;
  if (tam <= kMaxCampoCurto) {
    if (room < tam + 2) return 0;
    buf[0] = static_cast<uint8_t>(tam + 1);
    buf[1] = tag;
    if (tam > 0) std::memcpy(buf + 2, valor, tam);
    return tam + 2;
  }
  const bool tag_longa = tag == kTagLongo;
  const size_t cabecalho = tag_longa ? 4 : 5;
  if (tam > kMaxValorLongo || room < tam + cabecalho) return 0;
  buf[0] = 1;
  buf[1] = kTagLongo;
  GravaU16(buf + 2, static_cast<uint16_t>(tag_longa ? tam : tam + 1));
  if (!tag_longa) buf[4] = tag;
  std::memcpy(buf + cabecalho, valor, tam);
  return tam + cabecalho;
}

uint16_t MontaRespostaPdv(uint8_t resultado, const char* texto, const char* codigo) {
  CopiaCabecalho(resultado);
  const size_t n_texto = texto != nullptr ? strnlen(texto, kMaxTextoDisplay) : 0;
  uint8_t bloco[kTamBlocoResultado] = {};
  if (codigo != nullptr) std::memcpy(bloco, codigo, strnlen(codigo, kTamCodigoResultado));

  uint8_t* p = RespostaPdv + kTamCabecalhoPdv;
  const size_t room = sizeof RespostaPdv - kTamCabecalhoPdv;
  size_t n = EscreveCampoPdv(p, room, kTagTexto, texto, n_texto);
  n += EscreveCampoPdv(p + n, room - n, kTagResultado, bloco, sizeof bloco);
  GravaU16(RespostaPdv + kPosTamDadosPdv, static_cast<uint16_t>(n));
  return static_cast<uint16_t>(kTamCabecalhoPdv + n);
}

uint16_t MontaRespostaVazia(uint8_t resultado) {
  CopiaCabecalho(resultado);
  GravaU16(RespostaPdv + kPosTamDadosPdv, 0);
  return static_cast<uint16_t>(kTamCabecalhoPdv);
}
