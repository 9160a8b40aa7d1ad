// The brand tables: the switch of the brand file, the load of the credit
// and debit tables from their sections, and the look-up of a card's brand.
// The brand file is read through the ini cache without the registry mutex
// held; the mutex guards only the check and the hand-over of the table.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "basico/prodkovra.h"
#include "basico/prodkovra_estado.h"
#include "basico/prodkovra_faixa.h"
#include "basico/prodkovra_ini.h"
#include "services/depura.h"
#include "services/ini.h"

namespace {

// Room for the key list of one section: 5000 keys of the longest form
// ("123456789-123456789") fit.
constexpr size_t kTamListaChaves = 105000;
// A value is read up to 8 characters; only 5 are valid.
constexpr size_t kTamValor = 9;

const char* const kSecaoTabela[2] = {"Credito", "Debito"};

bool SeletorValido(int tabela) { return tabela == kTabBandeiraCredito || tabela == kTabBandeiraDebito; }

// Reads the ranges of one section into *faixas, sorted by width and start.
void LeFaixas(int tabela, std::vector<FaixaBandeira>* faixas) {
  const char* secao = kSecaoTabela[tabela - 1];
  std::vector<char> lista(kTamListaChaves);
  std::vector<std::string_view> chaves;
  ListaChavesIni(secao, kArquivoBandeiras, &lista, kTamListaChaves, &chaves);
  faixas->reserve(std::min(chaves.size(), static_cast<size_t>(kMaxFaixasBandeira)));

  int ruins = 0;
  std::string chave;
  for (std::string_view nome : chaves) {
    if (faixas->size() >= static_cast<size_t>(kMaxFaixasBandeira) || ruins >= kMaxEntradasRuins) break;
    chave.assign(nome);
    char valor[kTamValor];
    LeIniString(secao, chave.c_str(), "", valor, sizeof valor, kArquivoBandeiras);
    FaixaBandeira f{};
    if (!InterpretaCodigoBandeira(valor, &f.codigo) ||
        !InterpretaFaixaBandeira(chave.c_str(), &f.inicio, &f.fim)) {
      Depura("CarregaBandeiras: entrada invalida [%s]=[%s]", chave.c_str(), valor);
      ++ruins;
      continue;
    }
    f.tipo = tabela - 1;
    f.largura = f.fim - f.inicio;
    faixas->push_back(f);
  }
  // The narrowest range first, so the first range holding a card wins.
  std::stable_sort(faixas->begin(), faixas->end(), [](const FaixaBandeira& a, const FaixaBandeira& b) {
    return a.largura != b.largura ? a.largura < b.largura : a.inicio < b.inicio;
  });
}

}  // namespace

int BandeirasHabilitadas() {
  char valor[16];
  LeIniString("Geral", "HabilitaBandeira", "0", valor, sizeof valor, kArquivoBandeiras);
  return std::strcmp(valor, "1") == 0 ? 1 : 0;
}

int CarregaBandeiras(int tabela) {
  if (!BandeirasHabilitadas()) return kBandDesabilitada;
  if (!SeletorValido(tabela)) return kBandSeletorInvalido;
  {
    TravaProdutos trava;
    if (g_produtos.carregada[tabela - 1]) return kBandJaCarregada;
  }
  std::vector<FaixaBandeira> faixas;
  try {
    LeFaixas(tabela, &faixas);
  } catch (const std::bad_alloc&) {
    return kBandSemMemoria;
  }
  if (faixas.empty()) return kBandSemFaixas;
  TravaProdutos trava;
  if (g_produtos.carregada[tabela - 1]) return kBandJaCarregada;
  g_produtos.faixas[tabela - 1] = std::move(faixas);
  g_produtos.carregada[tabela - 1] = true;
  return static_cast<int>(g_produtos.faixas[tabela - 1].size());
}

int BuscaBandeira(int tabela, const char* cartao) {
  int n = 0;
  // The first 9 characters of the card, all digits.
  if (!DigitosDecimais(cartao, 9, &n)) return kBandSemCasamento;
  if (!SeletorValido(tabela)) return kBandSeletorInvalido;
  TravaProdutos trava;
  if (!g_produtos.carregada[tabela - 1]) return kBandNaoCarregada;
  for (const auto& f : g_produtos.faixas[tabela - 1])
    if (f.inicio <= n && n <= f.fim) return f.codigo;
  return kBandSemCasamento;
}

const char* SignificadoCodigoBandeira(int codigo) {
  // Indexed by the code without its sign.
  static constexpr const char* kSignificados[] = {
      nullptr,
      "out of memory",
      "table already loaded",
      "table not loaded",
      "no range holds the card, or the card is not numeric",
      "no ranges in the brand file",
      "brand tables disabled",
      "bad table selector",
  };
  constexpr int kNum = static_cast<int>(sizeof kSignificados / sizeof kSignificados[0]);
  return codigo < 0 && codigo > -kNum ? kSignificados[-codigo] : nullptr;
}
