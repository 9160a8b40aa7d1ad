// The service announcement: the unsolicited message that tells the switch
// which services the module offers, sent once at start and again before a
// company's range list.
#include <cstring>

#include "basico/interpdv.h"
#include "kovtiquetal/msg_pdv.h"
#include "kovtiquetal/protocolo_pdv.h"

namespace {

constexpr char kServicos[] = "1;2;3;4;";
constexpr char kEmpresaAnuncio[] = "********";
constexpr size_t kTamAnuncio = kTamCabecalhoPdv + sizeof kServicos - 1 + 2;   // 40

}  // namespace

void AnunciaServicos() {
  uint8_t msg[kTamAnuncio] = {};
  msg[kPosSubTipoPdv] = kSubAnuncio;
  std::memcpy(msg + kPosEmpresaPdv, kEmpresaAnuncio, sizeof kEmpresaAnuncio - 1);
  const size_t n = EscreveCampoPdv(msg + kTamCabecalhoPdv, sizeof msg - kTamCabecalhoPdv,
                                   kTagServicos, kServicos, sizeof kServicos - 1);
  GravaU16(msg + kPosTamDadosPdv, static_cast<uint16_t>(n));
  EnviaRespostaPdv(msg, kTamCabecalhoPdv + n);
}
