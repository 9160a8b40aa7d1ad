// Run-time internal: pieces shared by the file utilities, and the seam
// through which tests drive the rename retry policy.
#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "nvpr/nv_fileutil.h"

// Fills the items asked for from a stat result; nome may be null.
void NV_PreencheInfo(const struct stat& st, const std::string* nome, unsigned itens,
                     NV_InfoArquivo* info);

// One rename attempt of resolved paths: 0 or errno.  `substitui` replaces
// an existing target; otherwise an existing target gives EEXIST.
using NV_FuncaoRenomeia = int (*)(const char* antigo, const char* novo, bool substitui);
// The pause between retries, in ms.
using NV_FuncaoEspera = void (*)(int64_t ms);
// Replace the system call and the pause (tests); null restores the real ones.
void NV_DefineRenomeiaSistema(NV_FuncaoRenomeia renomeia, NV_FuncaoEspera espera);
