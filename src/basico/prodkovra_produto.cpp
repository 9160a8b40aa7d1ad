// The product look-ups: the switch product code of a network product code
// (from the database, else from the built-in tables) and the product's
// attributes (from the database only).
#include <cstdio>
#include <cstring>
#include <string>

#include "basico/prodkovra.h"
#include "basico/prodkovra_estado.h"
#include "services/depura.h"

namespace {

// A network product code is exactly 3 characters.
bool CodigoValido(const char* codigo) { return codigo != nullptr && strnlen(codigo, 4) == 3; }

// A whole decimal integer with an optional "-"; an empty text is 0.
bool Numero(const std::string& texto, long long* valor) {
  if (texto.empty()) {
    *valor = 0;
    return true;
  }
  const bool negativo = texto[0] == '-';
  size_t i = negativo ? 1 : 0;
  if (i == texto.size() || texto.size() - i > 18) return false;
  long long v = 0;
  for (; i < texto.size(); ++i) {
    if (texto[i] < '0' || texto[i] > '9') return false;
    v = v * 10 + (texto[i] - '0');
  }
  *valor = negativo ? -v : v;
  return true;
}

// The same, refused unless it lies in 0..maximo.
bool NumeroAte(const std::string& texto, long long maximo, long long* valor) {
  return Numero(texto, valor) && *valor >= 0 && *valor <= maximo;
}

// The record from the ids and the product row; false when a value is not a
// number or does not fit its field.
bool MontaDadosProduto(const IdsProduto& ids, const LinhaProduto& linha, DadosProduto* d) {
  long long bandeira, produto, tipo, subtipo, prod_usuario, band_usuario, private_label;
  if (!NumeroAte(ids.bandeira, 0xffffffffLL, &bandeira) || !NumeroAte(ids.produto, 0xffff, &produto) ||
      !NumeroAte(linha.valor[kColTipo], 0xff, &tipo) || !NumeroAte(linha.valor[kColSubtipo], 0xffff, &subtipo) ||
      !Numero(linha.valor[kColCriadoPeloUsuario], &prod_usuario) ||
      !Numero(linha.valor[kColBandeiraCriadaPeloUsuario], &band_usuario) ||
      !Numero(linha.valor[kColPrivateLabel], &private_label))
    return false;
  for (int i = 0; i < 4; ++i) d->id_bandeira[i] = static_cast<uint8_t>(bandeira >> (8 * i));
  d->id_produto[0] = static_cast<uint8_t>(produto);
  d->id_produto[1] = static_cast<uint8_t>(produto >> 8);
  d->flags = prod_usuario != 0 ? kProdutoCriadoPeloUsuario : band_usuario != 0 ? kProdutoBandeiraDoUsuario : 0;
  d->tipo = private_label != 0 ? kTipoPrivateLabel : static_cast<uint8_t>(tipo);
  d->subtipo[0] = static_cast<uint8_t>(subtipo);
  d->subtipo[1] = static_cast<uint8_t>(subtipo >> 8);
  return true;
}

// The database's answer for the code: 1 with a code of at most 5 digits.
int CodigoDaBase(const char* codigo, long long* servico) {
  IdsProduto ids{};
  if (!BuscaIdsEmissor(&g_produtos.base, g_produtos.rede, codigo, &ids)) return 0;
  if (!BuscaCodigoServico(&g_produtos.base, ids, servico)) return 0;
  if (*servico < 0 || *servico > 99999) {
    Depura("BuscaCodigoProduto: codigo [%lld] do produto [%.3s] fora de 5 digitos", *servico, codigo);
    return 0;
  }
  return 1;
}

}  // namespace

int BuscaCodigoProduto(char (&saida)[6], const char* codigo) {
  std::memcpy(saida, "00000", sizeof saida);
  if (!CodigoValido(codigo)) return 0;
  TravaProdutos trava;
  if (g_produtos.rede == 0) return 0;
  long long servico = 0;
  if (CodigoDaBase(codigo, &servico)) {
    std::snprintf(saida, sizeof saida, "%05lld", servico);
    return 1;
  }
  const ProdutoRede* p = AchaProdutoRede(g_produtos.produtos, g_produtos.num_produtos, codigo);
  if (p == nullptr) return 0;
  const DeParaProduto* linha = AchaDePara(*p);
  if (linha == nullptr) return 0;
  std::memcpy(saida, linha->codigo_servico, sizeof saida);
  return 1;
}

void BuscaDadosProduto(DadosProduto* dados, const char* codigo) {
  if (dados == nullptr) return;
  std::memset(dados, 0, sizeof *dados);
  if (!CodigoValido(codigo)) return;
  TravaProdutos trava;
  if (g_produtos.rede == 0) return;
  IdsProduto ids{};
  LinhaProduto linha;
  if (!BuscaIdsEmissor(&g_produtos.base, g_produtos.rede, codigo, &ids) ||
      !BuscaLinhaProduto(&g_produtos.base, ids, &linha))
    return;
  DadosProduto d{};
  if (!MontaDadosProduto(ids, linha, &d)) {
    Depura("BuscaDadosProduto: valores invalidos do produto [%.3s] (bandeira [%s] produto [%s])", codigo,
           ids.bandeira, ids.produto);
    return;
  }
  Depura("BuscaDadosProduto: [%.3s] nome[%s] tipo[%u] temporario[%s]", codigo, linha.valor[kColNome].c_str(),
         d.tipo, linha.valor[kColTemporario].c_str());
  *dados = d;
}
