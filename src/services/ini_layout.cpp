// Layout copying and the quoting rule of written ini lines.
#include "services/ini_layout.h"

#include "services/ini_nomes.h"

void AprendeLayoutSecao(LayoutIni* lay, const char* s, size_t n, const LinhaIni& l) {
  lay->antes_secao.assign(s, l.ini_nome);
  // From the last "]" on: no other "]" follows it, so a new header built
  // with this text reads back with its own name.
  lay->depois_secao.assign(s + l.fim_nome, n - l.fim_nome);
}

void AprendeLayoutChave(LayoutIni* lay, const char* s, size_t n, const LinhaIni& l) {
  lay->antes_chave.assign(s, l.ini_nome);
  lay->entre.assign(s + l.fim_nome, l.ini_bruto - l.fim_nome);
  lay->depois_valor.assign(s + l.fim_bruto, n - l.fim_bruto);
  if (l.aspas != 0) lay->aspas = l.aspas;
}

bool ValorPrecisaAspas(std::string_view v) {
  if (v.empty()) return false;
  if (EhBrancoIni(v.front()) || EhBrancoIni(v.back())) return true;
  return v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'');
}

void MontaLinhaSecao(const LayoutIni& lay, std::string_view nome, std::string* linha) {
  linha->assign(lay.antes_secao);
  linha->append(nome);
  linha->append(lay.depois_secao);
  // Borrowed text must not push a header past what a reader sees.
  if (linha->size() > INI_TAM_LINHA) {
    linha->assign("[");
    linha->append(nome);
    linha->append("]");
  }
}

void MontaLinhaChave(const LayoutIni& lay, std::string_view chave, std::string_view valor,
                     std::string* linha) {
  bool aspas = ValorPrecisaAspas(valor);
  linha->assign(lay.antes_chave);
  linha->append(chave);
  linha->append(lay.entre);
  if (aspas) linha->push_back(lay.aspas);
  linha->append(valor);
  if (aspas) linha->push_back(lay.aspas);
  linha->append(lay.depois_valor);
  if (linha->size() > INI_TAM_LINHA) {
    linha->assign(chave);
    linha->push_back('=');
    if (aspas) linha->push_back(lay.aspas);
    linha->append(valor);
    if (aspas) linha->push_back(lay.aspas);
  }
}
