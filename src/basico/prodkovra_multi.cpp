// The multi-brand check: may a company route a product through this
// network?  The company's own multi-brand file, or else the switch's, lists
// lines "network;kind;routing network;" in section "Bandeiras"; the first
// line for the product's brand and kind names the network that carries it.
// The file is read through the ini cache without the registry mutex held.
#include <cstdio>
#include <cstring>
#include <string>

#include "basico/prodkovra.h"
#include "basico/prodkovra_estado.h"
#include "basico/prodkovra_faixa.h"
#include "basico/prodkovra_ini.h"
#include "basico/prodkovra_multi.h"
#include "nvpr/nv_fileutil.h"
#include "services/ini.h"

namespace {

constexpr const char* kMultiEmpresa = "/kovra/./config/empresas/%.8s/multibandeira.ini";
constexpr const char* kMultiGeral = "/kovra/./config/multibandeira.ini";
constexpr const char* kSecaoMulti = "Bandeiras";
// A file this large is not read.
constexpr int64_t kMaxArquivoMulti = 10LL * 1024 * 1024;
// Room for one value; a longer one is malformed.
constexpr size_t kTamValorMulti = 512;

// The network numbers that the multi-brand files give under another number.
struct TraducaoRede {
  int de, para;
};
constexpr TraducaoRede kTraducaoRede[] = {
    {4, 1}, {7, 4}, {23, 21}, {51, 50}, {53, 52}, {60, 65}, {61, 5},
};

int TraduzRede(int rede) {
  for (const auto& t : kTraducaoRede)
    if (t.de == rede) return t.para;
  return rede;
}

bool TipoAceito(int tipo_linha, int tipo_produto) {
  if (tipo_linha == tipo_produto) return true;
  if (tipo_produto == 5) return tipo_linha == 1;
  if (tipo_produto == 6) return tipo_linha == 2 || tipo_linha == 3;
  return false;
}

// A company code names a directory only when it cannot leave it: letters,
// digits, blanks, "_" and "-" only.
bool EmpresaUsavel(const char* empresa) {
  if (empresa == nullptr || *empresa == '\0') return false;
  for (size_t i = 0; i < 8 && empresa[i] != '\0'; ++i) {
    const char c = empresa[i];
    const bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                    c == ' ' || c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

// The multi-brand file for the company, or "" when there is none.
std::string ArquivoMulti(const char* empresa) {
  if (EmpresaUsavel(empresa)) {
    char caminho[128];
    std::snprintf(caminho, sizeof caminho, kMultiEmpresa, empresa);
    if (ExisteArquivo(caminho)) return caminho;
  }
  return ExisteArquivo(kMultiGeral) ? kMultiGeral : "";
}

// One ";"-separated field as a number (blanks around it allowed).
bool CampoNumero(const char* ini, const char* fim, int* valor) {
  while (ini < fim && (*ini == ' ' || *ini == '\t')) ++ini;
  while (fim > ini && (fim[-1] == ' ' || fim[-1] == '\t')) --fim;
  return DigitosDecimais(ini, static_cast<size_t>(fim - ini), valor);
}

// The network that the file names for the product, 0 for none.
int RedeDoArquivo(const std::string& arquivo, const ProdutoRede& produto) {
  NV_InfoArquivo info;
  if (NV_InfoArquivoCaminho(arquivo.c_str(), NV_INFO_TAMANHO, &info) != 0 ||
      info.tamanho >= kMaxArquivoMulti)
    return 0;
  // Every key name and its NUL fit in the file's own size, plus the end.
  std::vector<char> lista(static_cast<size_t>(info.tamanho) + 2);
  std::vector<std::string_view> chaves;
  ListaChavesIni(kSecaoMulti, arquivo.c_str(), &lista, static_cast<size_t>(kMaxArquivoMulti), &chaves);
  std::string chave;
  for (std::string_view nome : chaves) {
    chave.assign(nome);
    char valor[kTamValorMulti];
    size_t n = static_cast<size_t>(LeIniString(kSecaoMulti, chave.c_str(), "", valor, sizeof valor,
                                               arquivo.c_str()));
    if (n >= sizeof valor - 1) continue;
    int destino = RedeDaLinhaMulti(valor, produto);
    if (destino != 0) return destino;
  }
  return 0;
}

}  // namespace

int VerificaMultiBandeira(const char* empresa, const char* codigo) {
  if (codigo == nullptr || strnlen(codigo, 4) != 3) return 0;
  ProdutoRede produto{};
  int rede = 0, modo = 0;
  {
    TravaProdutos trava;
    const ProdutoRede* p = AchaProdutoRede(g_produtos.produtos, g_produtos.num_produtos, codigo);
    if (p == nullptr) return 0;
    produto = *p;
    rede = g_produtos.rede;
    modo = g_produtos.modo;
  }
  if (produto.tipo == 4) return 1;
  const std::string arquivo = ArquivoMulti(empresa);
  const int destino = arquivo.empty() ? 0 : RedeDoArquivo(arquivo, produto);
  return destino == rede || (destino == 0 && modo != 0) ? 1 : 0;
}

int RedeDaLinhaMulti(const char* valor, const ProdutoRede& produto) {
  const char* sep[3];
  const char* p = valor;
  for (auto& s : sep) {
    s = std::strchr(p, ';');
    if (s == nullptr) return 0;
    p = s + 1;
  }
  int rede = 0, tipo = 0, destino = 0;
  if (!CampoNumero(valor, sep[0], &rede) || !CampoNumero(sep[0] + 1, sep[1], &tipo) ||
      !CampoNumero(sep[1] + 1, sep[2], &destino))
    return 0;
  if (TraduzRede(rede) != produto.bandeira || !TipoAceito(tipo, produto.tipo)) return 0;
  return destino;
}
