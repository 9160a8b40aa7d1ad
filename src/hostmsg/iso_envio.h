// Building an outgoing ISO 8583 message: the state `MsgEnvio` (output
// buffer, write position, length, bitmap, secondary flag and the recorded
// positions of fields 7, 11, 12 and 13) and the operations that write the
// message type, one field at a time (`MontaCampo`) and the bitmaps.
//
// Wire layout: message type (4), primary bitmap (16 upper-case hexadecimal
// digits), the secondary bitmap (16) when bit 1 is set, then the fields in
// ascending order.  Nothing is ever written past the buffer's capacity: a
// field that does not fit is refused with "TAMANHO ERRADO" and result 6.
#pragma once
#include <cstddef>
#include <cstdint>

#include "hostmsg/iso_campos.h"

// The callers' request buffers.
inline constexpr size_t kTamBufferEnvio = 4096;

// Fields whose positions are recorded for GravaLog to fill.
enum : int { kPosCampo7, kPosCampo11, kPosCampo12, kPosCampo13, kNumPosicoes };

struct EstadoMsgEnvio {
  char* buffer;
  size_t capacidade;
  size_t pos;                     // write position
  uint16_t tamanho;               // characters so far
  uint8_t bitmap[16];             // bits 1 to 128, field 1 the top bit of byte 0
  bool secundario;                // the secondary bitmap is reserved
  uint16_t posicoes[kNumPosicoes]; // 0 when not recorded (a field never starts before 20)
};

extern EstadoMsgEnvio& MsgEnvio;

// Writes the message type, clears the bitmap and the secondary flag, leaves
// room for the primary bitmap: position and length 20.  0, or 6 when the
// buffer cannot hold a header.
int IniciaMensagem(char* buffer, const char* tipo, size_t capacidade = kTamBufferEnvio);

// Set and clear a bitmap bit (field 1 to 128; others are ignored).
void MarcaCampo(int campo);
void DesmarcaCampo(int campo);
bool CampoMarcado(int campo);

// Reserves the 16 characters of the secondary bitmap right behind the
// primary one.  0, or 6 when they do not fit.
int ReservaBitmapSecundario();

// Writes the bitmap as hexadecimal right after the message type: 16
// characters, or 32 with the secondary flag.
void FechaMensagem(char* buffer);

// Checks one value against its row and appends it at the write position:
// 0, 5 (characters its type refuses) or 6 (too long, or no room).  For type
// b the value is raw bytes and tam their count; for type z tam is the number
// of track characters to take.  A failed check writes nothing, is reported
// through ErroConsistencia and returns its code.
int MontaCampo(const void* valor, size_t tam, const Campo& linha);

// The recorded field positions.
void EsvaziaPosicoes();
void RegistraPosicao(int campo);
// Where field 7, 11, 12 or 13 of the message just built lies in its buffer,
// or null when it was not recorded.
char* EnderecoCampo(int campo);

// Clears the building state (tests).
void ReiniciaMsgEnvio();
