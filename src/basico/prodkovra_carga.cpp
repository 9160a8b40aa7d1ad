// Loading the registry for a network: the product database and the
// network's built-in product table.
#include "basico/prodkovra.h"
#include "basico/prodkovra_estado.h"

void CarregaProdutos(int rede) {
  if (rede <= 0) {
    AvisoProdutos("Codigo IF invalido");
    return;
  }
  TravaProdutos trava;
  // A failed open has printed its line; the built-in tables answer alone.
  AbreBaseProdutos(&g_produtos.base, kArquivoBaseProdutos);
  const ProdutoRede* tabela = nullptr;
  size_t num = 0;
  if (!TabelaProdutosDaRede(rede, &tabela, &num)) {
    AvisoProdutos("Falha ao carregar as tabelas");
    FechaBaseProdutos(&g_produtos.base);
    g_produtos.rede = 0;
    g_produtos.produtos = nullptr;
    g_produtos.num_produtos = 0;
    return;
  }
  g_produtos.produtos = tabela;
  g_produtos.num_produtos = num;
  g_produtos.rede = rede;
}
