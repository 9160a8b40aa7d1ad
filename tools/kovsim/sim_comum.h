// Pieces shared by the stand-ins: argument values, the queues with their
// waits, the scrambled send, and the printing of bytes as text and hex.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "biblkovra/msgqueue.h"
#include "nvpr/nv_process.h"

using Bytes = std::vector<uint8_t>;

// A decimal value within [minimo, maximo].
bool LeInteiro(const char* texto, long minimo, long maximo, long* valor);
// Hexadecimal digits (either case, even count) into bytes.
bool LeHex(const char* texto, Bytes* saida);

// Opens a queue for writing, trying every 100 ms for up to espera_ms: 0 or
// the last error.
int AbreEscritaComEspera(NV_MsgQueue** fila, const char* nome, int espera_ms);
// Scrambles a copy of the message and writes it: 0 or the error.
int EnviaEmbaralhado(NV_MsgQueue* fila, const Bytes& msg);

// Reads the messages that a reader queue receives, unscrambled, until
// `quantos` have come (0: no limit) or none came for espera_ms.  Each is
// handed to `trata` with its number from 1.  The count received.
using TrataRecebida = void (*)(int numero, const Bytes& msg, void* contexto);
int RecebeMensagens(NV_MsgQueue* leitor, int quantos, int espera_ms, TrataRecebida trata,
                    void* contexto);

// Printable ASCII as it is, other bytes as \xNN, trailing zero bytes left out.
std::string TextoVisivel(const uint8_t* p, size_t n);
// Lower-case hex of n bytes.
std::string Hex(const uint8_t* p, size_t n);
