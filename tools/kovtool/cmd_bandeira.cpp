// kovtool bandeira credito|debito CARD: the brand code of a card number,
// with the brand tables loaded as the module loads them at start (both
// tables, when the brand file enables them).  Prints the code, or the
// negative code and its meaning with exit 1.
#include <cstdio>
#include <cstring>

#include "basico/prodkovra.h"
#include "comandos.h"

int CmdBandeira(int argc, char** argv) {
  if (argc != 3) return ErroUso("bandeira takes credito|debito and a card number");
  int tabela = 0;
  if (std::strcmp(argv[1], "credito") == 0) tabela = kTabBandeiraCredito;
  else if (std::strcmp(argv[1], "debito") == 0) tabela = kTabBandeiraDebito;
  else return ErroUso("bad table '%s' (credito or debito)", argv[1]);

  int codigo = kBandDesabilitada;
  if (BandeirasHabilitadas()) {
    CarregaBandeiras(kTabBandeiraCredito);
    CarregaBandeiras(kTabBandeiraDebito);
    codigo = BuscaBandeira(tabela, argv[2]);
  }
  if (codigo >= 0) {
    std::printf("%d\n", codigo);
    return 0;
  }
  std::printf("%d %s\n", codigo, SignificadoCodigoBandeira(codigo));
  return 1;
}
