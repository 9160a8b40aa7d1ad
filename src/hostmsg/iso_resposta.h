// Splitting a received ISO 8583 message: the state `MsgResposta` (receive
// buffer and length, read position, message type, bitmap and one slot per
// field with the position and length of its data) and the operations that
// read the header (`LeCabecalho`) and locate the fields (`LocalizaCampos`).
// Field data in the buffer is not terminated; consumers copy the slot's
// length.  Nothing is read past the received length.
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr size_t kTamBufferResposta = 2048;

struct SlotCampo {
  bool presente;
  uint16_t pos;
  uint16_t tam;
};

// Why the last LeCabecalho or LocalizaCampos refused the message.
enum ErroSeparacao : int {
  SEP_OK = 0,
  SEP_CURTA,              // shorter than its message type and bitmaps
  SEP_BITMAP_INVALIDO,    // a bitmap character is not a hexadecimal digit
  SEP_ACIMA_MAXIMO,       // a variable field announces more than its maximum
  SEP_ALEM_DO_FIM,        // a field runs past the received length
};

struct EstadoMsgResposta {
  char buffer[kTamBufferResposta];
  uint16_t tamanho;
  size_t pos;                  // read position
  char tipo[5];                // message type and a zero
  uint8_t bitmap[16];          // the secondary half is zero without bit 1
  SlotCampo slots[129];        // index = field number
  ErroSeparacao erro;
  int campo_erro;              // the field that made the split fail
};

extern EstadoMsgResposta& MsgResposta;

// Clears the receive buffer and copies a received message into it; false
// (nothing kept) when it is longer than the buffer.
bool CarregaMsgResposta(const void* dados, size_t n);

// Takes the message type and the bitmaps (upper- or lower-case digits) and
// sets the read position after them.  False when the message is shorter
// than its header or a bitmap character is not hexadecimal.
bool LeCabecalho();

// Walks the bitmap over `bytes_bitmap` bytes (8, or 16 with a secondary
// bitmap) and gives every present field its slot.  False when a variable
// field announces more than its maximum or a field runs past the end.
bool LocalizaCampos(int bytes_bitmap);

// Whether a field's bit is set in the received bitmap.
bool CampoPresente(int campo);

// The data of a located field: true with its position and length.
bool CampoRecebido(int campo, const char** dados, uint16_t* tam);

// Empties every field slot.
void EsvaziaSlots();

// The check of a received message against its response definition: for each
// listed field whose bit is absent, the debug line
// "%s: Campo %.3d inexistente na %.4s." with "Alerta" when the definition has
// a parser for it and "ALERTA" when not.  The message is processed anyway.
void ConfereCamposResposta(const int* campos, const bool* com_parser, int n);

// Clears the reading state (tests).
void ReiniciaMsgResposta();
