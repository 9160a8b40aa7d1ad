// Text and number routines whose exact rules the message formats rely on.
#pragma once
#include <cstddef>
#include <cstdint>

// Decimal text -> integer: leading spaces and tabs, optional sign, digits up
// to the first other character; no digits gives 0.  A value beyond the range
// of long long gives the nearest limit.
long long TextoParaInt(const char* texto);
// The same over exactly `largura` characters (fewer if a NUL comes first).
long long TextoParaIntFixo(const char* texto, int largura);
// Integer -> text in base 2 to 36 ("0"-"9", "a"-"z"); 22 for a bad base or no
// room for the sign, 34 when the room is too small.
int IntParaTexto(long long valor, char* saida, size_t room, int base);
// Drops leading "0" characters (in place).
void RemoveZerosEsquerda(char* digitos);
// Removes leading and trailing spaces (in place).
void Apara(char* texto);
// Bounded copy: at most room-1 characters and a NUL; 22 when room is 0,
// 34 when the source was cut.
int CopiaLimitada(char* destino, size_t room, const char* origem);
// Case-insensitive compare (ASCII), whole or first n characters.
int ComparaSemCaso(const char* a, const char* b);
int ComparaSemCasoN(const char* a, const char* b, size_t n);
// "*" any run, "?" any one character; `com_caso` true compares case.
bool CasaCuringa(const char* padrao, const char* texto, bool com_caso);
// "a"-"z" to "A"-"Z" in place.
void Maiusculas(char* texto);
// Bytes -> upper-case hexadecimal text (2n characters and a NUL).
void BytesParaHex(const void* dados, size_t n, char* saida);
// Hexadecimal text (either case) -> bytes; 0, 22 for a bad digit or an odd
// length, 34 when the bytes do not fit in room.
int HexParaBytes(const char* hex, size_t n_hex, void* saida, size_t room);
