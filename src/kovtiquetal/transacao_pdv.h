// The transaction record of the PDV request being processed, `TransacaoPdv`:
// what the parse of a request and the chip-parameter extraction leave for the
// host-request builders.  One process-wide instance, cleared to zeros at the
// start of every parse (LimpaTransacaoPdv).  Every text has room for its
// terminating zero.
#pragma once
#include <cstdint>

// Fuel product lines: six lines of 54 bytes, each four texts with their zero.
inline constexpr int kMaxItensFuel = 6;
inline constexpr int kTamItemFuel = 54;
inline constexpr int kItemCodigo = 0;      // code, 7
inline constexpr int kItemDescricao = 7;   // description, 21
inline constexpr int kItemValor1 = 28;     // first value, 13
inline constexpr int kItemValor2 = 41;     // second value, 13

// Chip data objects as hexadecimal text.
inline constexpr int kMaxEmvDados = 1000;

struct DadosTransacaoPdv {
  char CodTrn;                 // selects the request definition; copied to the log
  char Entrada;                // '1' card read (stripe or chip), '2' typed
  char CodProcessamento[7];    // 6 digits
  char Cartao[41];             // track-2 text without sentinels, or the typed number
  char Valor[13];              // cents, 1 to 12 digits
  char Parcelas[3];            // instalments; "1" unless the request gives one
  char DocOriginal[10];        // document of the transaction being cancelled
  char DataOriginal[5];        // its date, DDMM
  char Validade[5];            // card expiry YYMM
  char ComplementoCartao[101]; // text after the byte 0x04 of the card field
  char BlocoPin[21];           // PIN block as hexadecimal text

  // Chip parameters ("DPCHIP:").
  int32_t ChipPresente;        // 1 when chip parameters were extracted
  char EMV_Dados[kMaxEmvDados + 1];
  char EMV_Flag[16];           // entry mode of field 22: its first 3 characters
  char EMV_PanSeq[11];
  char EMV_QuemAprv[2];
  char EMV_Motivo[kMaxEmvDados + 1];

  char AdmItem3[21];           // third item of the "Adm:" string
  char Km[21];                 // fuel answer 01
  char Matricula[21];          // fuel answer 02
  uint16_t QtdItens;           // fuel product lines, 0 to 6
  char Itens[kMaxItensFuel][kTamItemFuel];

  const char* ProdutoCartao;   // the card's 44-byte product entry, or null
  const char* FaixaCartao;     // the card's 21-byte range entry, or null

  // Written by the field-52 builder, read by the field-63 builder of the
  // same build: "001" when a PIN block was sent, else empty.
  char ValorCampo63[4];
};

// The process-wide record.
extern DadosTransacaoPdv& TransacaoPdv;

// Clears the record to zeros (start of every parse; tests).
void LimpaTransacaoPdv();
