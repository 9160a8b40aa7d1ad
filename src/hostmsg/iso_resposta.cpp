// The received message state `MsgResposta`: header, bitmap and the split of
// the fields into slots, bounded by the received length.
#include "hostmsg/iso_resposta.h"

#include <cstring>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_campos.h"
#include "services/depura.h"
#include "services/texto.h"

EstadoMsgResposta& MsgResposta = EstadoHostMsg.resposta;

namespace {

constexpr size_t kTamBitmapHex = 16;

// A refused message keeps no field: the slots already given are emptied.
bool Falha(ErroSeparacao erro, int campo) {
  EsvaziaSlots();
  MsgResposta.erro = erro;
  MsgResposta.campo_erro = campo;
  return false;
}

bool BitLigado(const uint8_t* bitmap, int campo) {
  return (bitmap[(campo - 1) / 8] & (0x80 >> ((campo - 1) % 8))) != 0;
}

// The count of a length prefix: each character counts as its low four bits.
size_t LeContagem(const char* p, size_t digitos) {
  size_t n = 0;
  for (size_t i = 0; i < digitos; ++i) n = n * 10 + (static_cast<unsigned char>(p[i]) & 0x0F);
  return n;
}

}  // namespace

void ReiniciaMsgResposta() {
  std::memset(&MsgResposta, 0, sizeof MsgResposta);
}

void EsvaziaSlots() {
  for (SlotCampo& s : MsgResposta.slots) s = SlotCampo{};
}

bool CarregaMsgResposta(const void* dados, size_t n) {
  std::memset(MsgResposta.buffer, 0, sizeof MsgResposta.buffer);
  MsgResposta.tamanho = 0;
  if (n > sizeof MsgResposta.buffer) return false;
  if (n > 0) std::memcpy(MsgResposta.buffer, dados, n);
  MsgResposta.tamanho = static_cast<uint16_t>(n);
  return true;
}

bool LeCabecalho() {
  EsvaziaSlots();
  std::memset(MsgResposta.bitmap, 0, sizeof MsgResposta.bitmap);
  std::memset(MsgResposta.tipo, 0, sizeof MsgResposta.tipo);
  MsgResposta.pos = 0;
  MsgResposta.erro = SEP_OK;
  MsgResposta.campo_erro = 0;
  size_t n = MsgResposta.tamanho;
  std::memcpy(MsgResposta.tipo, MsgResposta.buffer, n < 4 ? n : 4);
  if (n < 4 + kTamBitmapHex) return Falha(SEP_CURTA, 0);
  if (HexParaBytes(MsgResposta.buffer + 4, kTamBitmapHex, MsgResposta.bitmap, 8) != 0)
    return Falha(SEP_BITMAP_INVALIDO, 0);
  MsgResposta.pos = 4 + kTamBitmapHex;
  if (BitLigado(MsgResposta.bitmap, 1)) {
    if (n < 4 + 2 * kTamBitmapHex) return Falha(SEP_CURTA, 1);
    if (HexParaBytes(MsgResposta.buffer + MsgResposta.pos, kTamBitmapHex, MsgResposta.bitmap + 8,
                     8) != 0)
      return Falha(SEP_BITMAP_INVALIDO, 1);
    MsgResposta.pos += kTamBitmapHex;
  }
  return true;
}

bool LocalizaCampos(int bytes_bitmap) {
  EsvaziaSlots();
  if (MsgResposta.erro != SEP_OK) return false;
  if (bytes_bitmap > 16) bytes_bitmap = 16;
  const int ultimo = bytes_bitmap * 8;
  const size_t fim = MsgResposta.tamanho;
  size_t pos = MsgResposta.pos;
  for (int f = 2; f <= ultimo; ++f) {
    if (!BitLigado(MsgResposta.bitmap, f)) continue;
    Campo c;
    BuscaCampo(f, &c);
    size_t tam;
    if (c.forma == FORMA_FIXA) {
      tam = LarguraFixa(c);
    } else {
      size_t digitos = DigitosPrefixo(c);
      if (pos + digitos > fim) return Falha(SEP_ALEM_DO_FIM, f);
      tam = LeContagem(MsgResposta.buffer + pos, digitos);
      if (tam > c.maximo) return Falha(SEP_ACIMA_MAXIMO, f);
      pos += digitos;
    }
    if (pos + tam > fim) return Falha(SEP_ALEM_DO_FIM, f);
    MsgResposta.slots[f] = SlotCampo{true, static_cast<uint16_t>(pos), static_cast<uint16_t>(tam)};
    pos += tam;
  }
  MsgResposta.pos = pos;
  return true;
}

bool CampoPresente(int campo) {
  if (campo < 1 || campo > kNumCampos) return false;
  return BitLigado(MsgResposta.bitmap, campo);
}

bool CampoRecebido(int campo, const char** dados, uint16_t* tam) {
  if (campo < 1 || campo > kNumCampos || !MsgResposta.slots[campo].presente) return false;
  *dados = MsgResposta.buffer + MsgResposta.slots[campo].pos;
  *tam = MsgResposta.slots[campo].tam;
  return true;
}

void ConfereCamposResposta(const int* campos, const bool* com_parser, int n) {
  for (int i = 0; i < n; ++i) {
    if (CampoPresente(campos[i])) continue;
    Depura("%s: Campo %.3d inexistente na %.4s.", com_parser[i] ? "Alerta" : "ALERTA", campos[i],
           MsgResposta.tipo);
  }
}
