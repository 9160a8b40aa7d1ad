// JSON string text for the tools' --json output: '"' and '\' escaped, every
// byte below 0x20 or above 0x7e as \u00XX, so that any record bytes give a
// valid, printable line.
#pragma once
#include <cstddef>
#include <string>

// Appends the escaped bytes (without quotes) to *destino.
void EscapaJson(std::string* destino, const char* dados, size_t n);
// The quoted JSON string of a text.
std::string TextoJson(const std::string& texto);
