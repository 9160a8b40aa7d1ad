// kovtool path PATH: the Linux path that a system path resolves to under
// the current KOVRA_DRIVE and working directory (a missing tail as spelled).
#include <cstdio>
#include <string>

#include "comandos.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_path.h"

int CmdPath(int argc, char** argv) {
  if (argc != 2) return ErroUso("path: expected one PATH");
  std::string r;
  int rc = NV_ResolvePara(argv[1], &r);
  if (rc != NV_OK) return ErroUso("path: cannot resolve '%s': %s", argv[1], NV_NomeErro(rc));
  std::printf("%s\n", r.c_str());
  return 0;
}
