// Reading a request's data area: its strings, the named parameter lookup and
// the extended form test.  Nothing is read past the data area or past the
// bytes received.
#include <cstring>

#include "kovtiquetal/msg_pdv.h"
#include "kovtiquetal/protocolo_pdv.h"
#include "services/texto.h"

namespace {

constexpr const char* kParmsGerPdv = "ParmsGerPdv:";
constexpr const char* kVersaoEstendida = "002042003";
constexpr size_t kTamVersao = 9;

// The length of the string at pos, up to its zero byte or fim.
size_t TamString(const uint8_t* msg, size_t fim, size_t pos) {
  size_t n = 0;
  while (pos + n < fim && msg[pos + n] != 0) ++n;
  return n;
}

}  // namespace

size_t FimDadosPdv(const uint8_t* msg, size_t tam) {
  if (msg == nullptr || tam < kTamCabecalhoPdv) return 0;
  const size_t fim = kTamCabecalhoPdv + LeU16(msg + kPosTamDadosPdv);
  return fim < tam ? fim : tam;
}

size_t ProximaStringPdv(const uint8_t* msg, size_t fim, size_t pos) {
  if (pos >= fim) return fim;
  const size_t n = pos + TamString(msg, fim, pos) + 1;
  return n < fim ? n : fim;
}

int BuscaParametroPdv(const char* nome, size_t inicio, const uint8_t* msg, size_t tam) {
  if (nome == nullptr || msg == nullptr) return -1;
  const size_t fim = FimDadosPdv(msg, tam);
  const size_t n_nome = std::strlen(nome);
  for (size_t pos = inicio < kTamCabecalhoPdv ? kTamCabecalhoPdv : inicio; pos < fim;
       pos = ProximaStringPdv(msg, fim, pos)) {
    if (TamString(msg, fim, pos) < n_nome) continue;
    if (ComparaSemCasoN(reinterpret_cast<const char*>(msg + pos), nome, n_nome) == 0)
      return static_cast<int>(pos + n_nome);
  }
  return -1;
}

bool FormaEstendidaPdv(const uint8_t* msg, size_t tam) {
  if (msg == nullptr || tam < kTamCabecalhoPdv) return false;
  if (LeU16(msg + kPosFormatoPdv) != kFormatoEstendido) return false;
  const int pos = BuscaParametroPdv(kParmsGerPdv, kTamCabecalhoPdv, msg, tam);
  if (pos < 0) return false;
  const size_t fim = FimDadosPdv(msg, tam);
  char versao[kTamVersao + 1] = {};
  const size_t n = TamString(msg, fim, static_cast<size_t>(pos));
  std::memcpy(versao, msg + pos, n < kTamVersao ? n : kTamVersao);
  return std::strncmp(versao, kVersaoEstendida, kTamVersao) >= 0;
}

size_t InicioCamposPdv(const uint8_t* msg, size_t tam, size_t* pos_adm) {
  if (pos_adm != nullptr) *pos_adm = 0;
  if (!FormaEstendidaPdv(msg, tam)) return kTamCabecalhoPdv;
  const size_t fim = FimDadosPdv(msg, tam);
  const size_t adm = ProximaStringPdv(msg, fim, kTamCabecalhoPdv);
  if (pos_adm != nullptr) *pos_adm = adm;
  return ProximaStringPdv(msg, fim, adm);
}
