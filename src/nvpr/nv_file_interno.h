// Run-time internal: opening a path that the path layer has already
// resolved (so it is not taken under the drive root a second time), and the
// process-wide permission bits of new files.
#pragma once
#include "nvpr/nv_file.h"

// 0, or the portable code (reported as "nvpr/file" "open" on failure).
int NV_AbreCaminhoLinux(NV_Arquivo* f, const char* caminho_linux, int flags, int modo);
int NV_PermissaoPadrao();
