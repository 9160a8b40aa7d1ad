// The writing accessors: GravaIniString sets a value in the cached file and
// writes the file through at once; GravaIniInt writes a number the same way.
//
// Names and values that could not be read back as written are refused with
// 0 and change nothing: any CR or LF (it would split the line), a key with
// "=", with blanks at either end or beginning with ";" or "[" (the grammar
// would read another key, a comment or a header), and lines longer than
// the buffer through which files are read.
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "services/ini.h"
#include "services/ini_cache.h"
#include "services/ini_gramatica.h"
#include "services/ini_nomes.h"

namespace {

bool TemFimDeLinha(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool PodeGravar(std::string_view secao, std::string_view chave, std::string_view valor) {
  if (TemFimDeLinha(secao) || TemFimDeLinha(chave) || TemFimDeLinha(valor)) return false;
  if (secao.size() + 2 > INI_TAM_LINHA) return false;
  if (chave.find('=') != std::string_view::npos) return false;
  if (!chave.empty() &&
      (EhBrancoIni(chave.front()) || EhBrancoIni(chave.back()) || chave.front() == ';' ||
       chave.front() == '['))
    return false;
  // key, "=", the value and two quotes
  return chave.size() + valor.size() + 3 <= INI_TAM_LINHA;
}

// Sets the value in the cached file.  *mudou tells whether anything changed.
// 0 or the error of loading the file.
int AlteraValor(const char* secao, const char* chave, const char* valor, const char* caminho,
                bool* mudou) {
  *mudou = false;
  UsoArquivoIni uso(caminho);
  if (uso.erro() != 0) return uso.erro();
  IniArquivo* a = uso.arq();
  EsperaCargaIni(a);

  NomeDobrado ks(secao);
  auto s = a->secoes.mapa.find(ks.vista());
  if (s == a->secoes.mapa.end()) {
    s = a->secoes.mapa.emplace(std::string(ks.vista()), IniSecao{}).first;
    s->second.nome = secao;
    s->second.chave.assign(ks.vista());
  }
  IniSecao& sec = s->second;
  NomeDobrado kc(chave);
  auto c = sec.chaves.find(kc.vista());
  bool nova = c == sec.chaves.end();
  if (nova) {
    c = sec.chaves.emplace(std::string(kc.vista()), IniChave{}).first;
    c->second.nome = chave;
    c->second.chave.assign(kc.vista());
  }
  IniChave& ch = c->second;
  // A key new to the file counts as a change even with an empty value, or
  // the file would never receive it.
  if (!nova && !ch.apagada && !sec.apagada && ch.valor == valor) return 0;
  ch.valor = valor;
  ch.apagada = false;
  sec.apagada = false;
  if (!ch.modificada) {
    ch.modificada = true;
    ++sec.alteradas;
  }
  a->secoes.alterado = true;
  *mudou = true;
  return 0;
}

// Writes the entry's unsaved changes through: 1 when the file holds them.
int GravaPendentes(const char* caminho) {
  UsoArquivoIni uso(caminho);
  IniArquivo* a = uso.arq();
  // Getting the entry may itself have written the changes (the file had
  // changed on disk and the reload merged them), or failed to.
  if (a == nullptr || uso.erro() != 0) return 0;
  // A load completed by another thread since this change holds it; changes
  // still unsaved after that are newer ones, which this thread writes too.
  while (a->secoes.alterado)
    if (RecarregaArquivoIni(a, a->geracao) != 0) return 0;
  return 1;
}

}  // namespace

int GravaIniString(const char* secao, const char* chave, const char* valor, const char* caminho) {
  if (secao == nullptr || chave == nullptr || valor == nullptr) return 0;
  if (!PodeGravar(secao, chave, valor)) return 0;
  if (caminho == nullptr) caminho = "";
  try {
    bool mudou = false;
    if (AlteraValor(secao, chave, valor, caminho, &mudou) != 0) return 0;
    if (!mudou || !CacheIni::kGravaDireto) return 1;
    return GravaPendentes(caminho);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int GravaIniInt(const char* secao, const char* chave, int valor, const char* caminho) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "%d", valor);
  return GravaIniString(secao, chave, texto, caminho);
}
