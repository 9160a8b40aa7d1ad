// The layout of lines that a rewrite writes anew: each copies the most
// recent line of its kind read from the same file in the same pass (the text
// around a header's name; the text before a key, between key and value and
// after the value, and the quote used), and values are quoted only where
// reading them back needs it.
#pragma once
#include <string>
#include <string_view>

#include "services/ini_gramatica.h"

struct LayoutIni {
  std::string antes_secao{"["};
  std::string depois_secao{"]"};
  std::string antes_chave{"  "};
  std::string entre{"="};
  std::string depois_valor;
  char aspas = '"';
};

// Learns the layout of a header or key line `s` analysed as `l`.
void AprendeLayoutSecao(LayoutIni* lay, const char* s, size_t n, const LinhaIni& l);
void AprendeLayoutChave(LayoutIni* lay, const char* s, size_t n, const LinhaIni& l);

// A value needs quotes when reading it back would otherwise change it: it
// begins or ends with a blank (the grammar trims those), or it is itself
// enclosed in a pair of matching quotes (the grammar removes one pair).
bool ValorPrecisaAspas(std::string_view valor);

// The header line of `nome` and the key line of chave = valor, without the
// line terminator.
void MontaLinhaSecao(const LayoutIni& lay, std::string_view nome, std::string* linha);
void MontaLinhaChave(const LayoutIni& lay, std::string_view chave, std::string_view valor,
                     std::string* linha);
