// One pass over an ini file: the file is read line by line with the grammar
// into a fresh set of sections and, when changes are given, echoed into an
// output with those changes merged in place (the rewrite of a file).
#pragma once
#include <map>
#include <memory>
#include <string>

#include "nvpr/nv_file.h"
#include "services/ini_cache.h"
#include "services/ini_frescor.h"
#include "services/ini_linha.h"

// The changes of one file that are not on disk yet, by lower-cased names.
struct AlteracaoChaveIni {
  std::string nome;
  std::string valor;
};
struct AlteracaoSecaoIni {
  std::string nome;
  std::map<std::string, AlteracaoChaveIni, std::less<>> chaves;
};
using AlteracoesIni = std::map<std::string, AlteracaoSecaoIni, std::less<>>;

// The modified keys of the cached sections.
void ColheAlteracoes(const SecoesIni& secoes, AlteracoesIni* alt);

// Reads `entrada` (null for a file that does not exist) into `secoes`.
// With `alt` and `saida`, also writes the merged file to `saida`, every line
// ended with `fim_linha`:
//   - comment and blank lines are copied;
//   - a header is copied unless it repeats one already seen, in which case
//     it and its key lines are left out; a malformed header and its key
//     lines are left out, except a header cut by the line buffer before its
//     "]", which is copied with its lines (they are read as no section);
//   - a cut line without "=" in the part seen is copied and is no key;
//   - a key line is copied, left out when its key repeats one of its
//     section, or written anew in its place when the key was changed;
//   - where a section ends, its changed keys not in the file are written;
//   - at the end, the changed sections not in the file are appended.
// The sections built are those of the merged file.  0 or an error code
// (12 when memory runs out).
int PassoArquivoIni(NV_Arquivo* entrada, const AlteracoesIni* alt, EscritorIni* saida,
                    const std::string& fim_linha, MapaSecoes* secoes);

// What a load or a write leaves for the entry: the sections, the freshness
// record and the Linux path of the file (null when unknown).
struct ResultadoCargaIni {
  MapaSecoes secoes;
  RegistroArquivo registro;
  std::shared_ptr<const ResolucaoIni> resolucao;
};

// Reads the file at `caminho`.  A file that does not exist reads as an
// empty file.
int LeArquivoIni(const std::string& caminho, ResultadoCargaIni* res);
