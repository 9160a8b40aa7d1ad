// The built-in product tables (program data, in the switch's order) and the
// searches over them.
#include "basico/prodkovra_tabelas.h"

#include <cstring>

const ProdutoRede TabProdutosRede[kNumProdutosRede77] = {
    {"001", 54, 3, 1}, {"002", 54, 3, 0}, {"003", 54, 6, 0}, {"004", 54, 3, 0},
    {"005", 54, 3, 0}, {"007", 54, 3, 2}, {"008", 54, 3, 0}, {"015", 54, 6, 0},
    {"016", 54, 3, 0}, {"019", 54, 3, 0}, {"028", 54, 3, 3}, {"029", 54, 3, 0},
    {"030", 54, 3, 0}, {"098", 54, 1, 0}, {"099", 54, 2, 0},
};

const DeParaProduto TabDePara[kNumDePara] = {
    {"10021", 65, 3, 2},  {"10022", 65, 3, 1},  {"10023", 65, 3, 3},  {"10024", 15, 3, 2},
    {"10025", 15, 3, 1},  {"10026", 15, 3, 28}, {"10027", 15, 3, 3},  {"10028", 10, 3, 2},
    {"10029", 10, 3, 1},  {"10031", 10, 3, 30}, {"10032", 10, 3, 3},  {"10047", 58, 3, 2},
    {"10048", 58, 3, 1},  {"10050", 58, 3, 3},  {"10051", 39, 3, 3},  {"10052", 47, 3, 3},
    {"10053", 37, 3, 3},  {"10055", 54, 3, 3},  {"10056", 52, 3, 3},  {"10070", 58, 3, 27},
    {"10071", 39, 3, 27}, {"10072", 39, 3, 1},  {"10073", 39, 3, 2},  {"10075", 39, 3, 29},
    {"10030", 10, 5, 0},  {"10054", 15, 6, 0},  {"10033", 10, 6, 0},  {"00030", 17, 1, 0},
    {"00031", 16, 1, 0},  {"20032", 16, 2, 0},  {"00033", 14, 1, 0},  {"20034", 14, 2, 0},
    {"00035", 27, 1, 0},  {"20036", 27, 2, 0},  {"20037", 5, 2, 0},   {"00038", 80, 1, 0},
    {"00041", 50, 1, 0},  {"20042", 50, 2, 0},  {"10037", 12, 3, 0},  {"10039", 56, 3, 0},
    {"10040", 57, 3, 0},  {"00043", 52, 1, 0},  {"10044", 52, 3, 0},  {"00045", 31, 1, 0},
    {"10046", 55, 3, 0},  {"10049", 58, 6, 0},  {"00057", 22, 1, 0},  {"00058", 69, 1, 0},
    {"20059", 69, 2, 0},  {"00060", 70, 1, 0},  {"00061", 71, 1, 0},  {"00062", 72, 1, 0},
    {"00063", 73, 1, 0},  {"00064", 74, 1, 0},  {"00065", 75, 1, 0},  {"00066", 76, 1, 0},
    {"00067", 77, 1, 0},  {"00068", 78, 1, 0},  {"00069", 79, 1, 0},  {"20071", 12, 2, 0},
    {"00071", 35, 1, 0},  {"10074", 39, 6, 0},  {"20072", 189, 2, 0}, {"20073", 189, 1, 0},
    {"20074", 189, 5, 0}, {"20075", 189, 6, 0}, {"10076", 65, 6, 0},  {"00072", 15, 1, 0},
    {"20076", 15, 2, 0},  {"00070", 59, 1, 0},  {"20001", 2, 2, 0},   {"20002", 1, 2, 0},
    {"20003", 17, 2, 0},  {"20013", 16, 2, 0},  {"10001", 15, 3, 0},  {"10002", 1, 3, 0},
    {"10003", 10, 3, 0},  {"10004", 37, 3, 0},  {"10005", 41, 3, 0},  {"10006", 39, 3, 0},
    {"10007", 44, 3, 0},  {"10008", 20, 3, 0},  {"10009", 24, 3, 0},  {"10010", 33, 3, 0},
    {"10011", 54, 3, 0},  {"10012", 17, 3, 0},  {"10014", 6, 3, 0},   {"10019", 65, 3, 0},
    {"00001", 1, 1, 0},   {"00002", 2, 1, 0},   {"00003", 6, 1, 0},   {"00004", 3, 1, 0},
    {"00005", 61, 1, 0},  {"00006", 62, 1, 0},  {"00008", 63, 1, 0},  {"00009", 60, 1, 0},
    {"00010", 4, 1, 0},   {"00011", 8, 1, 0},   {"00012", 5, 1, 0},   {"00013", 9, 1, 0},
    {"00014", 64, 1, 0},  {"00015", 12, 1, 0},  {"00003", 0, 5, 0},   {"00000", 0, 2, 0},
    {"00001", 0, 3, 0},   {"00007", 0, 4, 0},
};

namespace {

struct TabelaRede {
  int rede;
  const ProdutoRede* produtos;
  size_t num;
};

// The networks the module carries a product table for.
const TabelaRede kTabelasRede[] = {
    {77, TabProdutosRede, kNumProdutosRede77},
};

bool CasaDePara(const DeParaProduto& linha, const ProdutoRede& p) {
  if (linha.subtipo != 0)
    return linha.bandeira == p.bandeira && linha.tipo == p.tipo && linha.subtipo == p.subtipo;
  if (linha.bandeira == 0) return linha.tipo == p.tipo;
  return linha.bandeira == p.bandeira && linha.tipo == p.tipo;
}

}  // namespace

bool TabelaProdutosDaRede(int rede, const ProdutoRede** tabela, size_t* num) {
  for (const auto& t : kTabelasRede) {
    if (t.rede != rede) continue;
    *tabela = t.produtos;
    *num = t.num;
    return true;
  }
  return false;
}

const ProdutoRede* AchaProdutoRede(const ProdutoRede* tabela, size_t num, const char* codigo) {
  if (tabela == nullptr || codigo == nullptr) return nullptr;
  for (size_t i = 0; i < num; ++i)
    if (std::strncmp(tabela[i].codigo, codigo, 3) == 0) return &tabela[i];
  return nullptr;
}

const DeParaProduto* AchaDePara(const ProdutoRede& produto) {
  for (const auto& linha : TabDePara)
    if (CasaDePara(linha, produto)) return &linha;
  return nullptr;
}
