// kovtool multibandeira COMPANY CODE: 1 when the company may route the
// network product CODE (3 characters) through this network, 0 when not,
// with the registry loaded as the module loads it (network 77, mode flag
// set).  Exit 0 for 1 and 1 for 0.
#include <cstdio>
#include <cstring>

#include "basico/prodkovra.h"
#include "comandos.h"

int CmdMultibandeira(int argc, char** argv) {
  if (argc != 3) return ErroUso("multibandeira takes a company code and a product code");
  if (argv[1][0] == '\0') return ErroUso("empty company code");
  if (std::strlen(argv[2]) != 3) return ErroUso("bad product code '%s' (3 characters)", argv[2]);
  CarregaProdutos(77);
  DefineModoProdutos(1);
  const int pode = VerificaMultiBandeira(argv[1], argv[2]);
  std::printf("%d\n", pode);
  return pode == 1 ? 0 : 1;
}
