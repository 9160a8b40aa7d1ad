// Pieces shared by the stand-ins: argument values, the queues with their
// waits, the scrambled send, and the printing of bytes as text and hex.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "comandos.h"

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

// One option of a stand-in: its name, whether a value follows, and what it
// does with it (null, or the reason the value is refused).
template <typename Opcoes>
struct OpcaoSim {
  const char* nome;
  bool com_valor;
  const char* (*trata)(Opcoes* o, const char* valor);
};

// Applies the arguments in order through the table: 0, or 2 after the
// one-line reason.
template <typename Opcoes, size_t N>
int LeOpcoesSim(const char* rotulo, int argc, char** argv, const OpcaoSim<Opcoes> (&tabela)[N],
                Opcoes* o) {
  for (int i = 1; i < argc; ++i) {
    const OpcaoSim<Opcoes>* op = nullptr;
    for (const auto& c : tabela)
      if (std::strcmp(argv[i], c.nome) == 0) op = &c;
    if (op == nullptr) return ErroUso("%s: unknown option '%s'", rotulo, argv[i]);
    if (op->com_valor && i + 1 >= argc) return ErroUso("%s: %s needs a value", rotulo, op->nome);
    if (const char* erro = op->trata(o, op->com_valor ? argv[++i] : nullptr))
      return ErroUso("%s: %s", rotulo, erro);
  }
  return 0;
}

// One run of a stand-in: create the queue it reads, send the messages to the
// module's queue (waiting for it), then print what comes until `quantos`
// have come or none came for espera_ms.  The exit status.
struct SessaoSim {
  const char* rotulo;          // "pdv", "drivers"
  const char* fila_leitura;
  const char* fila_escrita;
  const std::vector<Bytes>* mensagens;
  int quantos;
  int espera_ms;
  TrataRecebida trata;
  void* contexto;
};
int ExecutaSessao(const SessaoSim& s);

// Printable ASCII as it is, other bytes as \xNN, trailing zero bytes left out.
std::string TextoVisivel(const uint8_t* p, size_t n);
// Lower-case hex of n bytes.
std::string Hex(const uint8_t* p, size_t n);
