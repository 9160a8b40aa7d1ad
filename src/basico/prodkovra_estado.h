// The registry's process-wide state and its mutex.  One instance of each;
// every operation but the brand-file switch reads or changes the state only
// while it holds the mutex, so the prepared statements are used by one
// thread at a time.
#pragma once
#include <array>
#include <cstddef>
#include <vector>

#include "basico/prodkovra_tabelas.h"
#include "biblkovra/prods/lib_kovprods.h"
#include "nvpr/nv_process.h"

// One range of a brand table.
struct FaixaBandeira {
  int codigo;    // brand code
  int tipo;      // 0 credit, 1 debit
  int inicio;    // first 9-digit card prefix
  int fim;       // last 9-digit card prefix
  int largura;   // fim - inicio
};

struct EstadoProdutos {
  int rede = 0;                          // network of the last successful load, else 0
  int modo = 0;                          // mode flag
  BaseProdutos base;                     // the product database, or closed
  const ProdutoRede* produtos = nullptr; // the network's built-in product table
  size_t num_produtos = 0;
  std::array<std::vector<FaixaBandeira>, 2> faixas;   // credit, debit (sorted)
  std::array<bool, 2> carregada{};
};

extern EstadoProdutos g_produtos;

// Holds the registry mutex for a scope; the mutex is created on first use.
class TravaProdutos {
 public:
  TravaProdutos();
  ~TravaProdutos();
  TravaProdutos(const TravaProdutos&) = delete;
  TravaProdutos& operator=(const TravaProdutos&) = delete;
};

// Prints one registry line on the console (standard error), whatever the
// console trace switch says: these lines tell the operator that the
// registry runs degraded.
void AvisoProdutos(const char* formato, ...) __attribute__((format(printf, 1, 2)));
