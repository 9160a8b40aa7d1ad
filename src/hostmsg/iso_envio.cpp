// The outgoing message state `MsgEnvio` and the operations on its frame:
// message type, bitmap bits, secondary bitmap room, closing bitmap and the
// recorded positions of the fields that GravaLog fills.
#include "hostmsg/iso_envio.h"

#include <cstring>

#include "hostmsg/estado_hostmsg.h"
#include "services/texto.h"

EstadoMsgEnvio& MsgEnvio = EstadoHostMsg.envio;

namespace {

constexpr size_t kTamCabecalho = 4 + 16;
constexpr size_t kTamBitmapHex = 16;

int IndicePosicao(int campo) {
  switch (campo) {
    case 7: return kPosCampo7;
    case 11: return kPosCampo11;
    case 12: return kPosCampo12;
    case 13: return kPosCampo13;
    default: return -1;
  }
}

}  // namespace

void ReiniciaMsgEnvio() {
  std::memset(&MsgEnvio, 0, sizeof MsgEnvio);
}

int IniciaMensagem(char* buffer, const char* tipo, size_t capacidade) {
  if (capacidade > UINT16_MAX) capacidade = UINT16_MAX;
  MsgEnvio.buffer = buffer;
  MsgEnvio.capacidade = buffer == nullptr ? 0 : capacidade;
  std::memset(MsgEnvio.bitmap, 0, sizeof MsgEnvio.bitmap);
  MsgEnvio.secundario = false;
  MsgEnvio.pos = 0;
  MsgEnvio.tamanho = 0;
  if (MsgEnvio.capacidade < kTamCabecalho) return 6;
  size_t n = strnlen(tipo, 4);
  std::memset(buffer, '0', 4);
  std::memcpy(buffer + 4 - n, tipo, n);
  std::memset(buffer + 4, '0', kTamBitmapHex);
  MsgEnvio.pos = kTamCabecalho;
  MsgEnvio.tamanho = static_cast<uint16_t>(kTamCabecalho);
  return 0;
}

void MarcaCampo(int campo) {
  if (campo < 1 || campo > kNumCampos) return;
  MsgEnvio.bitmap[(campo - 1) / 8] |= static_cast<uint8_t>(0x80 >> ((campo - 1) % 8));
}

void DesmarcaCampo(int campo) {
  if (campo < 1 || campo > kNumCampos) return;
  MsgEnvio.bitmap[(campo - 1) / 8] &= static_cast<uint8_t>(~(0x80 >> ((campo - 1) % 8)));
}

bool CampoMarcado(int campo) {
  if (campo < 1 || campo > kNumCampos) return false;
  return (MsgEnvio.bitmap[(campo - 1) / 8] & (0x80 >> ((campo - 1) % 8))) != 0;
}

int ReservaBitmapSecundario() {
  if (MsgEnvio.pos + kTamBitmapHex > MsgEnvio.capacidade) return 6;
  std::memset(MsgEnvio.buffer + MsgEnvio.pos, '0', kTamBitmapHex);
  MsgEnvio.secundario = true;
  MsgEnvio.pos += kTamBitmapHex;
  MsgEnvio.tamanho = static_cast<uint16_t>(MsgEnvio.tamanho + kTamBitmapHex);
  return 0;
}

void FechaMensagem(char* buffer) {
  if (buffer == nullptr) return;
  char hex[2 * sizeof MsgEnvio.bitmap + 1];
  size_t bytes = MsgEnvio.secundario ? 16 : 8;
  BytesParaHex(MsgEnvio.bitmap, bytes, hex);
  std::memcpy(buffer + 4, hex, 2 * bytes);
}

void EsvaziaPosicoes() {
  for (uint16_t& p : MsgEnvio.posicoes) p = 0;
}

void RegistraPosicao(int campo) {
  int i = IndicePosicao(campo);
  if (i >= 0) MsgEnvio.posicoes[i] = static_cast<uint16_t>(MsgEnvio.pos);
}

char* EnderecoCampo(int campo) {
  int i = IndicePosicao(campo);
  if (i < 0 || MsgEnvio.posicoes[i] == 0 || MsgEnvio.buffer == nullptr) return nullptr;
  return MsgEnvio.buffer + MsgEnvio.posicoes[i];
}
