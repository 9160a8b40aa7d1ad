// The freshness record of an ini file, read from its path or from an open
// handle, and the comparison that decides whether the cache still matches
// the file on disk.
//
// A repeated read costs one query of the file's attributes: the Linux path
// that the caller's path resolved to when the file was loaded is kept with
// the entry and asked directly, as long as the drive root is the same.
// When that path no longer answers, the caller's path is resolved again
// through the path layer, so a replaced directory or another drive root is
// followed.  (A file in another letter case created later beside the one
// in use is not taken until the one in use changes or goes.)
#pragma once
#include <memory>
#include <string>

#include "nvpr/nv_file.h"
#include "services/ini_cache.h"

struct ResolucaoIni {
  std::string caminho_linux;
  std::string raiz;          // KOVRA_DRIVE when it was resolved ("" unset)
};

// The record of a file that does not exist.
void RegistroAusente(RegistroArquivo* r);
// 0 and the record; a file that does not exist (or a path through a
// non-directory) gives 0 and the record of a missing file; other failures
// give their code.  `res` may be null.  The validity byte is not touched.
int LeRegistroCaminho(const char* caminho, const ResolucaoIni* res, RegistroArquivo* r);
// 0 and the record of the open file; 21 when it is a directory.
int LeRegistroHandle(NV_Arquivo* f, RegistroArquivo* r);
// The resolution of `caminho` to keep for the open file `f`, or null when
// the path does not lead to that file (it changed meanwhile).
std::shared_ptr<const ResolucaoIni> ResolucaoDoAberto(const char* caminho, NV_Arquivo* f);
// Same times, size and identity.
bool RegistrosIguais(const RegistroArquivo& a, const RegistroArquivo& b);
