// The two fixed records of the transaction log: the 214-byte primary record
// RegistroLog (one slot of a LOG_MMDD day file) and the 417-byte secondary
// record RegistroLogSecundario (one slot of the EXT_MMDD companion file).
// Both are byte-exact images of a file slot: every field is a byte array, and
// the binary integers in them are little-endian and read and written through
// the helpers at the end of this file.  Text fields hold ASCII with a zero
// byte inside their width unless noted otherwise.
#pragma once
#include <cstddef>
#include <cstdint>

#include "services/bytes_le.h"

struct RegistroLog {
  char Terminal[9];          // PDV terminal, 8 characters + zero (field 41)
  char Produto[3];           // '#' + 16-bit brand product code, or header bytes 12-14
  char Nsu[7];               // NSU, 6 digits + zero (field 11); set by GravaLog
  char DocHost[10];          // host document, 9 digits + zero (field 127)
  uint8_t Estado;            // transaction state
  uint8_t CodTrn;            // transaction code (12 table load, 1 no financial effect)
  char CodProcessamento[7];  // processing code, 6 digits + zero (field 3)
  char CodResposta[7];       // host response code, 2 characters, the rest zero (field 39)
  char Data[5];              // MMDD + zero; set by GravaLog
  char Hora[7];              // hhmmss + zero; set by GravaLog
  char Cartao[20];           // card number, up to 19 digits + zero; scrambled on disk
  uint8_t Livre1[4];
  char DataEnvio[5];         // MMDD + zero of the first write of the sale record
  char HoraEnvio[7];         // hhmmss + zero of the first write of the sale record
  uint8_t Livre2[10];
  char NsuOriginal[9];       // NSU of the cancelled transaction, 6 digits + zero
  char Valor[13];            // amount in cents, up to 12 digits + zero (field 4)
  char Validade[5];          // card expiry YYMM + zero (field 14)
  char Parcelas[3];          // instalments, 2 digits + zero (field 67)
  char CodAutorizacao[7];    // authorisation code, 6 characters + zero (field 38)
  uint8_t Rede;              // network code as a number (77)
  uint8_t Livre3[5];
  uint8_t SeqPdv;            // byte 15 of the PDV request header
  char DocOriginal[10];      // host document of the cancelled transaction, 9 digits + zero
  char Adquirente[12];       // field 32, 11 digits + zero
  char Estabelecimento[16];  // establishment code, 15 characters + zero (field 42)
  char Empresa[9];           // company code, 8 characters + zero
  char ModoEntrada[3];       // POS entry mode, 3 digits, no terminator (field 22)
  char DataOriginal[4];      // MMDD of the cancelled transaction, no terminator
  char HoraOriginal[6];      // hhmmss of the cancelled transaction, no terminator
  uint8_t IdPdv[2];          // 16-bit little-endian start of the PDV request header
  uint8_t IndiceSecundario[4];  // secondary slot, 32-bit little-endian; 0 none
  uint8_t Livre4[1];
};

static_assert(sizeof(RegistroLog) == 214);
static_assert(offsetof(RegistroLog, Terminal) == 0);
static_assert(offsetof(RegistroLog, Produto) == 9);
static_assert(offsetof(RegistroLog, Nsu) == 12);
static_assert(offsetof(RegistroLog, DocHost) == 19);
static_assert(offsetof(RegistroLog, Estado) == 29);
static_assert(offsetof(RegistroLog, CodTrn) == 30);
static_assert(offsetof(RegistroLog, CodProcessamento) == 31);
static_assert(offsetof(RegistroLog, CodResposta) == 38);
static_assert(offsetof(RegistroLog, Data) == 45);
static_assert(offsetof(RegistroLog, Hora) == 50);
static_assert(offsetof(RegistroLog, Cartao) == 57);
static_assert(offsetof(RegistroLog, Livre1) == 77);
static_assert(offsetof(RegistroLog, DataEnvio) == 81);
static_assert(offsetof(RegistroLog, HoraEnvio) == 86);
static_assert(offsetof(RegistroLog, Livre2) == 93);
static_assert(offsetof(RegistroLog, NsuOriginal) == 103);
static_assert(offsetof(RegistroLog, Valor) == 112);
static_assert(offsetof(RegistroLog, Validade) == 125);
static_assert(offsetof(RegistroLog, Parcelas) == 130);
static_assert(offsetof(RegistroLog, CodAutorizacao) == 133);
static_assert(offsetof(RegistroLog, Rede) == 140);
static_assert(offsetof(RegistroLog, Livre3) == 141);
static_assert(offsetof(RegistroLog, SeqPdv) == 146);
static_assert(offsetof(RegistroLog, DocOriginal) == 147);
static_assert(offsetof(RegistroLog, Adquirente) == 157);
static_assert(offsetof(RegistroLog, Estabelecimento) == 169);
static_assert(offsetof(RegistroLog, Empresa) == 185);
static_assert(offsetof(RegistroLog, ModoEntrada) == 194);
static_assert(offsetof(RegistroLog, DataOriginal) == 197);
static_assert(offsetof(RegistroLog, HoraOriginal) == 201);
static_assert(offsetof(RegistroLog, IdPdv) == 207);
static_assert(offsetof(RegistroLog, IndiceSecundario) == 209);
static_assert(offsetof(RegistroLog, Livre4) == 213);

// One fuel product line of the secondary record (54 bytes).
struct ItemLogFrota {
  char Codigo[7];            // product code, 6 characters + zero
  char Descricao[21];        // description, 20 characters + zero
  char Valor1[13];           // first value, 12 characters + zero
  char Valor2[13];           // second value, 12 characters + zero
};
static_assert(sizeof(ItemLogFrota) == 54);
static_assert(offsetof(ItemLogFrota, Codigo) == 0);
static_assert(offsetof(ItemLogFrota, Descricao) == 7);
static_assert(offsetof(ItemLogFrota, Valor1) == 28);
static_assert(offsetof(ItemLogFrota, Valor2) == 41);

inline constexpr int kMaxItensLog = 6;

struct RegistroLogSecundario {
  char FrotaCampo1[21];      // first fleet text, 20 characters + zero
  char FrotaCampo2[21];      // second fleet text
  char FrotaCampo3[21];      // third fleet text
  uint8_t QtdItens[2];       // product lines that follow, 16-bit little-endian, 0 to 6
  ItemLogFrota Itens[kMaxItensLog];
  char NsuCopia[7];          // the NSU, "%.06d" + zero, kept by the flows
  char DataHoraCopia[11];    // MMDDhhmmss + zero, kept by the flows
  char DadosProduto[10];     // product data of the brand registry
};

static_assert(sizeof(RegistroLogSecundario) == 417);
static_assert(offsetof(RegistroLogSecundario, FrotaCampo1) == 0);
static_assert(offsetof(RegistroLogSecundario, FrotaCampo2) == 21);
static_assert(offsetof(RegistroLogSecundario, FrotaCampo3) == 42);
static_assert(offsetof(RegistroLogSecundario, QtdItens) == 63);
static_assert(offsetof(RegistroLogSecundario, Itens) == 65);
static_assert(offsetof(RegistroLogSecundario, NsuCopia) == 389);
static_assert(offsetof(RegistroLogSecundario, DataHoraCopia) == 396);
static_assert(offsetof(RegistroLogSecundario, DadosProduto) == 407);

// The module's layout constants, as given to DefineLog.
inline constexpr int kTamRegistroLog = static_cast<int>(sizeof(RegistroLog));
inline constexpr int kTamRegistroLogSecundario = static_cast<int>(sizeof(RegistroLogSecundario));
inline constexpr int kPosIndiceSecundario = static_cast<int>(offsetof(RegistroLog, IndiceSecundario));
inline constexpr int kPosCartao = static_cast<int>(offsetof(RegistroLog, Cartao));
inline constexpr int kTamCartao = static_cast<int>(sizeof(RegistroLog::Cartao));

// Little-endian integers inside records: LeU16, GravaU16, LeU32, GravaU32
// of services/bytes_le.h.
