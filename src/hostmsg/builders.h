// The request field builders.  Each takes the TabCampos row of its field and
// appends the field through MontaCampo, or declines it (clears its bit and
// appends nothing).  Result: 0, a codec result (5, 6) or its own (9, 10, 11).
// The sources are prepared by the caller before the build: TransacaoPdv, the
// chip fields, EmpresaAtual, the log record buffers and the received 0600.
#pragma once
#include <cstring>

#include "hostmsg/iso_campos.h"
#include "hostmsg/iso_envio.h"

using FuncaoCampo = int (*)(const Campo& linha);

// ---- Common to several messages ----
int CampoBitmapSecundario(const Campo& c);   // 1: ReservaBitmapSecundario
int CampoMarcador(const Campo& c);           // 7, 11, 12, 13: zeros, position recorded
int CampoDeclinado(const Campo& c);          // 104: never sent
int CampoTerminal(const Campo& c);           // 41: the PDV's terminal
int CampoEstabelecimento(const Campo& c);    // 42: the company's establishment code
int CampoByteZero(const Campo& c);           // 64: the byte "0" as type b

// A fixed text (48 "003", 49 "076", 61 "84845100", 39 "00" or "78", 70 "001").
template <const char* V>
int CampoConstante(const Campo& c) {
  return MontaCampo(V, std::strlen(V), c);
}

// ---- Sale, authorisation and table-load requests ----
int CampoCartaoDigitado(const Campo& c);     // 2 of the typed sale
int CampoCodProcessamento(const Campo& c);   // 3
int CampoCodProcessamentoCarga(const Campo& c);  // 3 of the 0800
int CampoValor(const Campo& c);              // 4
int CampoValidade(const Campo& c);           // 14
int CampoModoEntrada(const Campo& c);        // 22 of 0200 and 0100
int CampoAdquirente(const Campo& c);         // 32
int CampoTrilha(const Campo& c);             // 35
int CampoVersaoTabela(const Campo& c);       // 47
int CampoParcelas(const Campo& c);           // 67
int CampoDocOriginal(const Campo& c);        // 125 of the 0400

// ---- PIN, fuel and chip ----
int CampoBlocoPin(const Campo& c);           // 52
int CampoIndicadorPin(const Campo& c);       // 63
int CampoFuel(const Campo& c);               // 62
int CampoContinuacaoFuel(const Campo& c);    // 120
int CampoSequenciaCartao(const Campo& c);    // 23
int CampoDadosChip(const Campo& c);          // 55

// ---- Cancellation (0400) ----
int CampoCartaoCancelamento(const Campo& c);          // 2 of codes "6" and "#"
int CampoCartaoCancelamentoDigitado(const Campo& c);  // 2 of code "7"
int CampoModoEntradaOriginal(const Campo& c);         // 22
int CampoDadosOriginais(const Campo& c);              // 90

// ---- Undo advice (0420), from the advised record ----
int CampoAvisoCartao(const Campo& c);        // 2
int CampoAvisoCodProcessamento(const Campo& c);  // 3
int CampoAvisoValor(const Campo& c);         // 4
int CampoAvisoDataHora(const Campo& c);      // 7: now
int CampoAvisoSequencia(const Campo& c);     // 11: NumSeqRede
int CampoAvisoData(const Campo& c);          // 13: today
int CampoAvisoValidade(const Campo& c);      // 14
int CampoAvisoModoEntrada(const Campo& c);   // 22
int CampoAvisoAdquirente(const Campo& c);    // 32
int CampoAvisoTrilha(const Campo& c);        // 35
int CampoAvisoTerminal(const Campo& c);      // 41
int CampoAvisoEstabelecimento(const Campo& c);  // 42
int CampoAvisoDadosOriginais(const Campo& c);   // 90

// ---- Answer to the host's 0600 (0610) ----
int CampoEco(const Campo& c);                // echoes the 0600's field
int CampoRespostaAdministrativa(const Campo& c);  // 39

// ---- Confirmation advice (0202), from the current record ----
int CampoConfCodProcessamento(const Campo& c);  // 3
int CampoConfValor(const Campo& c);          // 4
int CampoConfDataHora(const Campo& c);       // 7
int CampoConfNsu(const Campo& c);            // 11
int CampoConfModoEntrada(const Campo& c);    // 22
int CampoConfAdquirente(const Campo& c);     // 32
int CampoConfCodResposta(const Campo& c);    // 39
int CampoConfTerminal(const Campo& c);       // 41
int CampoConfEstabelecimento(const Campo& c);   // 42
int CampoConfDocHost(const Campo& c);        // 127

// The fixed texts.
inline constexpr char kTexto003[] = "003";
inline constexpr char kTexto076[] = "076";
inline constexpr char kTexto84845100[] = "84845100";
inline constexpr char kTexto00[] = "00";
inline constexpr char kTexto78[] = "78";
inline constexpr char kTexto001[] = "001";
