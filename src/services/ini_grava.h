// The write-through of an ini file: the file as it stands on disk is merged
// with the cached changes into a new file in the same directory, which is
// flushed and renamed over the target.  Comments, order and layout are kept.
// Any failure deletes the new file and leaves the target byte for byte as it
// was.
#pragma once
#include <string>

#include "services/ini_cache.h"
#include "services/ini_carga.h"

// Writes the merged file for `caminho` (the path as the caller spelled it);
// `res` receives the sections, the freshness record and the Linux path of
// the file written.  0 or an error code.
int GravaArquivoIni(const std::string& caminho, const AlteracoesIni& alt, ResultadoCargaIni* res);

// The directory part of a path as spelled ("." when it has none).
std::string DiretorioDoCaminho(const std::string& caminho);
