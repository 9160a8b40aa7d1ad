// The PDV message as the module receives and answers it: the 30-byte
// header (same layout both ways, integers little-endian), the data area,
// the message types, reply result codes and reply field tags.
//
// Request data are zero-terminated strings: positional fields, then named
// parameters ("NAME:value").  Reply data are tagged fields:
//   short form  L, tag, L - 1 value bytes          (values of 0 to 254 bytes)
//   long form   1, 'X', L16 (16-bit), tag, value   (255 bytes or more;
//               L16 = 1 + value length, or the value length when the tag
//               is 'X' itself, which is then not repeated)
#pragma once
#include <cstddef>
#include <cstdint>

#include "kovtiquetal/empresa.h"
#include "services/bytes_le.h"   // LeU16, GravaU16: the header's 16-bit integers

struct CabecalhoPdv {
  uint8_t FormatoMsg[2];   //  0: 768 marks the extended form
  uint8_t Tipo;            //  2: request type; reply result code
  uint8_t SubTipo;         //  3: transaction code
  char Terminal[8];        //  4
  char FilaResposta[3];    // 12: three digits, the reply's routing number
  uint8_t SeqPdv;          // 15: the terminal's request sequence byte
  uint8_t Reservado[4];    // 16: not interpreted
  char Empresa[8];         // 20: company code
  uint8_t TamDados[2];     // 28: bytes after the header
};
static_assert(sizeof(CabecalhoPdv) == 30);
static_assert(offsetof(CabecalhoPdv, FormatoMsg) == 0);
static_assert(offsetof(CabecalhoPdv, Tipo) == 2);
static_assert(offsetof(CabecalhoPdv, SubTipo) == 3);
static_assert(offsetof(CabecalhoPdv, Terminal) == 4);
static_assert(offsetof(CabecalhoPdv, FilaResposta) == 12);
static_assert(offsetof(CabecalhoPdv, SeqPdv) == 15);
static_assert(offsetof(CabecalhoPdv, Reservado) == 16);
static_assert(offsetof(CabecalhoPdv, Empresa) == 20);
static_assert(offsetof(CabecalhoPdv, TamDados) == 28);

inline constexpr size_t kTamCabecalhoPdv = sizeof(CabecalhoPdv);
inline constexpr size_t kTamMsgPdv = 1500;
inline constexpr size_t kPosFormatoPdv = offsetof(CabecalhoPdv, FormatoMsg);
inline constexpr size_t kPosTipoPdv = offsetof(CabecalhoPdv, Tipo);
inline constexpr size_t kPosSubTipoPdv = offsetof(CabecalhoPdv, SubTipo);
inline constexpr size_t kPosTerminalPdv = offsetof(CabecalhoPdv, Terminal);
inline constexpr size_t kPosEmpresaPdv = offsetof(CabecalhoPdv, Empresa);
inline constexpr size_t kPosTamDadosPdv = offsetof(CabecalhoPdv, TamDados);
inline constexpr uint16_t kFormatoEstendido = 768;

// Request types (byte 2).
enum : uint8_t {
  kTipoTransacao = 1,
  kTipoDesfazUltima = 2,
  kTipoConfirmacao = 128,
  kTipoNaoConfirmacao = 129,
  kTipoConfirmaDocumento = 134,
  kTipoDesfazDocumento = 135,
};

// Sub-types of type 1 that are not transaction requests.
enum : uint8_t {
  kSubAbreTerminal = 1,
  kSubFechaTerminal = 2,
  kSubSolicitaCarga = 3,
  kSubFechaSemResposta = 4,
  kSubConsultaCartao = 21,
  kSubCombustivel = 23,
  kSubAnuncio = 254,   // unsolicited messages to the switch
};

// Reply result codes (byte 2).
enum : uint8_t { kResultadoOk = 0, kResultadoIndisponivel = 131, kResultadoRecusa = 255 };

// Reply field tags.
enum : uint8_t {
  kTagTexto = 'D',
  kTagResultado = 'H',
  kTagConfiguracao = 'C',
  kTagServicos = 'y',
  kTagLongo = 'X',
};

inline constexpr size_t kTamBlocoResultado = 85;
inline constexpr size_t kMaxTextoDisplay = 254;
inline constexpr size_t kMaxCampoCurto = 254;
