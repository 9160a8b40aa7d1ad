// The two product tables built into the module: the network's own products
// (`TabProdutosRede`, network 77) and the switch's product codes by brand,
// kind and sub-kind (`TabDePara`), with the two searches over them.
#pragma once
#include <cstddef>

// One product of the network: its 3-character code and what it is.
struct ProdutoRede {
  char codigo[4];
  int bandeira;
  int tipo;
  int subtipo;
};

// One switch product code and the brand, kind and sub-kind it stands for.
struct DeParaProduto {
  char codigo_servico[6];
  int bandeira;
  int tipo;
  int subtipo;
};

inline constexpr size_t kNumProdutosRede77 = 15;
inline constexpr size_t kNumDePara = 106;
extern const ProdutoRede TabProdutosRede[kNumProdutosRede77];
extern const DeParaProduto TabDePara[kNumDePara];

// The built-in product table of a network: true with the table, false when
// the module has none for it.
bool TabelaProdutosDaRede(int rede, const ProdutoRede** tabela, size_t* num);

// The entry whose code equals the 3 characters of `codigo`, or null.
const ProdutoRede* AchaProdutoRede(const ProdutoRede* tabela, size_t num, const char* codigo);

// The first row of TabDePara, in its order, that stands for the product:
// a row with a sub-kind needs brand, kind and sub-kind equal; a row of
// brand 0 needs the kind alone; any other row brand and kind.  Null if none.
const DeParaProduto* AchaDePara(const ProdutoRede& produto);
