// The request message definitions and their assembly.  `TabEnvio` holds the
// ten definitions of the messages the module sends (searched in order),
// `TabConfirmacao` the 0202 confirmation advice.  `montamsg` and
// `montaconfirmacao` walk a definition, let each field's builder append its
// field, and close the bitmap; the finished length is in MsgEnvio.
#pragma once
#include <cstddef>
#include <cstdint>

#include "hostmsg/builders.h"
#include "hostmsg/iso_envio.h"

inline constexpr int kMaxCamposDefinicao = 32;

struct CampoEnvio {
  uint8_t numero;
  FuncaoCampo monta;
};

struct DefinicaoEnvio {
  int codigo;           // compared with the key's first character (mode 0)
  char tipo[5];         // message type (mode 1)
  int num_campos;
  CampoEnvio campos[kMaxCamposDefinicao];
};

inline constexpr int kNumDefinicoesEnvio = 10;
extern const DefinicaoEnvio TabEnvio[kNumDefinicoesEnvio];
extern const DefinicaoEnvio TabConfirmacao;

// Search modes of montamsg.
enum : int { MODO_CODIGO = 0, MODO_TIPO = 1 };

// Builds the message of the first definition matching the key (mode 1: a
// 4-character message type; mode 0: the key's first character against the
// transaction codes) into `buffer`.  0, or the result that stopped the build
// (resultados.h); then nothing usable is in the buffer.
int montamsg(int modo, const char* chave, char* buffer, size_t capacidade = kTamBufferEnvio);

// Builds the 0202 confirmation advice from TabConfirmacao.
int montaconfirmacao(char* buffer, size_t capacidade = kTamBufferEnvio);
