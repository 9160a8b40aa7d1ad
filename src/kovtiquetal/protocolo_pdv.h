// The PDV protocol operations that every flow uses: the dispatch of the
// current request, the reply builders, the field writer, the named
// parameter lookup, the extended form and the service announcement.  All
// run under MutexGlobal on the current message and the reply buffer
// (kovtiquetal/modulo.h).
#pragma once
#include <cstddef>
#include <cstdint>

// Dispatches the current PDV message by its type (and, for type 1, its
// sub-type).  A message shorter than its header, or whose data length runs
// past what was received, is refused and reported; one of an unknown type
// gets the "MSG PDV ERRADO" dump on the console.  Neither is answered.
void DespachaMsgPdv();

// A refusal or notice in the reply buffer: the current request's header
// with byte 2 = resultado, a D field with the text (at most 254
// characters), an H field with the two-character code and 83 zero bytes.
// The message length (text length + 119).
uint16_t MontaRespostaPdv(uint8_t resultado, const char* texto, const char* codigo);
// The current request's header with byte 2 = resultado and no data: 30.
uint16_t MontaRespostaVazia(uint8_t resultado);

// Writes one reply field in the short or long form into buf (room bytes).
// The bytes written; 0 when it does not fit (or the value is longer than
// 65534 bytes, the long form's limit).
size_t EscreveCampoPdv(uint8_t* buf, size_t room, uint8_t tag, const void* valor, size_t tam);

// Finds a named parameter in a message of tam bytes: walks its strings from
// position `inicio` (at least 30) up to the end of the data area (30 + data
// length, bounded by tam).  A string matches when it is at least as long
// as the name and begins with the name without regard to case.  The
// position of the value (just after the name), or -1.
int BuscaParametroPdv(const char* nome, size_t inicio, const uint8_t* msg, size_t tam);

// The end of the data area of a message of tam bytes (30 + data length,
// bounded by tam).
size_t FimDadosPdv(const uint8_t* msg, size_t tam);
// The position after the string at `pos` and its zero byte (bounded by fim).
size_t ProximaStringPdv(const uint8_t* msg, size_t fim, size_t pos);

// Whether a request is in the extended form: FormatoMsg 768 and a
// "ParmsGerPdv:" value whose first 9 characters are not lower than
// "002042003".  Its data area then begins with that string and an "Adm:"
// string, and the positional fields begin with the third string.
bool FormaEstendidaPdv(const uint8_t* msg, size_t tam);
// Where the positional fields of a request begin; *pos_adm gets the "Adm:"
// string's position in the extended form, or 0.
size_t InicioCamposPdv(const uint8_t* msg, size_t tam, size_t* pos_adm);

// Sends the service announcement: type 0, sub-type 254, company
// "********", one y field "1;2;3;4;" (40 bytes).
void AnunciaServicos();
