// The ini line grammar.  Blanks are space, tab and 0x1A (the old end-of-file
// mark some editors leave behind).  A header's name runs to the last "]" of
// the line; a key runs to the first "="; a value runs from the first to the
// last non-blank after it, and one pair of matching quotes around it is
// removed.  Text after a value belongs to it: there are no trailing comments.
#include "services/ini_gramatica.h"

#include "services/ini_nomes.h"

void AnalisaLinhaIni(const char* s, size_t n, LinhaIni* l) {
  *l = LinhaIni{};
  size_t i = 0;
  while (i < n && EhBrancoIni(s[i])) ++i;
  if (i == n || s[i] == ';') {
    l->tipo = INI_LINHA_VAZIA;
    return;
  }
  if (s[i] == '[') {
    size_t fecha = n;
    for (size_t j = n; j > i + 1; --j)
      if (s[j - 1] == ']') {
        fecha = j - 1;
        break;
      }
    if (fecha == n || fecha == i + 1) {
      l->tipo = INI_LINHA_MALFORMADA;
      return;
    }
    l->tipo = INI_LINHA_SECAO;
    l->ini_nome = i + 1;
    l->fim_nome = fecha;
    return;
  }
  size_t igual = i;
  while (igual < n && s[igual] != '=') ++igual;
  if (igual == n) {
    l->tipo = INI_LINHA_SEM_IGUAL;
    return;
  }
  l->tipo = INI_LINHA_CHAVE;
  l->ini_nome = i;
  size_t fim = igual;
  while (fim > i && EhBrancoIni(s[fim - 1])) --fim;
  l->fim_nome = fim;

  size_t v0 = igual + 1;
  while (v0 < n && EhBrancoIni(s[v0])) ++v0;
  size_t v1 = n;
  while (v1 > v0 && EhBrancoIni(s[v1 - 1])) --v1;
  l->ini_bruto = l->ini_valor = v0;
  l->fim_bruto = l->fim_valor = v1;
  if (v1 - v0 >= 2 && s[v0] == s[v1 - 1] && (s[v0] == '"' || s[v0] == '\'')) {
    l->aspas = s[v0];
    l->ini_valor = v0 + 1;
    l->fim_valor = v1 - 1;
  }
}
