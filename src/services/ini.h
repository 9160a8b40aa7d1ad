// The configuration accessors.  Every ini value the module reads or writes
// goes through these five calls, over the process-wide cache CacheIni, which
// follows changes on disk and writes every change through at once.
// Sizes count bytes including the terminating NUL.
#pragma once
#include <cstddef>
#include "nvpr/nv_fileutil.h"   // ExisteArquivo

int LeIniString(const char* secao, const char* chave, const char* padrao, char* buffer,
                size_t tam, const char* caminho);
int LeIniInt(const char* secao, const char* chave, int padrao, const char* caminho);
// 1 written, 0 failed.
int GravaIniString(const char* secao, const char* chave, const char* valor, const char* caminho);
int GravaIniInt(const char* secao, const char* chave, int valor, const char* caminho);

// Empties the cache, unsaved changes included (tests: no other thread may
// be using the cache meanwhile).
void ReiniciaCacheIni();
