// ISO 8583 messages for people and scripts: splitting a raw message into its
// type, bitmap and field texts, and packing a message from field texts, both
// through the module's own codec (TabCampos, LeCabecalho, LocalizaCampos,
// MontaCampo).  Used by the operator's command line.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct CampoTexto {
  int numero;
  std::string valor;   // the field's characters; for type b, hexadecimal text
};

struct MensagemTexto {
  std::string tipo;
  std::string bitmap;                // 16 or 32 upper-case hexadecimal digits
  std::vector<CampoTexto> campos;    // present fields 2 to 128, ascending
};

// Splits a received message.  False with a one-line reason when it is not
// a valid message of this dialect.
bool DecodificaIso(const void* dados, size_t n, MensagemTexto* msg, std::string* motivo);

// Packs a message of type `tipo` with the given fields (any order, each at
// most once, 2 to 128; field 1 is added when a field above 64 is given).
// Type b values are hexadecimal text.  0 with the raw message; 2 with a
// reason for bad arguments; 1 with the codec's text when a value is refused.
int CodificaIso(const std::string& tipo, std::vector<CampoTexto> campos, std::string* msg,
                std::string* motivo);

// Hexadecimal text of bytes (upper case).
std::string ParaHex(const std::string& bytes);
