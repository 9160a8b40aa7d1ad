// kovtool prod: the product registry's answers for one network product code,
// loaded as the module loads it (network 77, the product database under the
// drive root, the built-in tables without it), and the building of a
// product database from an SQL text for a sandbox drive.
//   prod codigo CODE    the 5-digit switch product code; exit 1 when unknown
//   prod dados CODE     the product data record, decoded; exit 1 when unknown
//   prod cria [SQL]     builds /kovra/config/prods/prods.db from SQL
//                       (default /kovra/config/prods/prods.sql)
// CODE is the 3-character product code: the network's two-character code
// right-aligned in "000" ("001").
#include <cstdio>
#include <cstring>
#include <string>

#include "basico/prodkovra.h"
#include "biblkovra/prods/lib_kovprods.h"
#include "comandos.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"

namespace {

constexpr int kRedeTiquetal = 77;
constexpr const char* kSqlPadrao = "/kovra/./config/prods/prods.sql";
// An SQL text larger than this is not a product schema.
constexpr int64_t kMaxSql = 64LL * 1024 * 1024;

void CarregaComoModulo() {
  CarregaProdutos(kRedeTiquetal);
  DefineModoProdutos(1);
}

int Codigo(const char* codigo) {
  CarregaComoModulo();
  char saida[6];
  const int achou = BuscaCodigoProduto(saida, codigo);
  std::printf("%s\n", saida);
  return achou == 1 ? 0 : 1;
}

int Dados(const char* codigo) {
  CarregaComoModulo();
  DadosProduto d;
  BuscaDadosProduto(&d, codigo);
  const auto* b = reinterpret_cast<const unsigned char*>(&d);
  std::printf("brand %u  product %u  flags %u  type %u  sub-type %u  (", BandeiraDoProduto(d), IdDoProduto(d),
              d.flags, d.tipo, SubtipoDoProduto(d));
  bool conhecido = false;
  for (size_t i = 0; i < sizeof d; ++i) {
    std::printf(i == 0 ? "%02x" : " %02x", b[i]);
    conhecido = conhecido || b[i] != 0;
  }
  std::printf(")\n");
  return conhecido ? 0 : 1;
}

// The whole SQL file; false with a reason on standard error.
bool LeSql(const char* caminho, std::string* sql) {
  NV_Arquivo f;
  int64_t tam = 0;
  int rc = NV_FileOpen(&f, caminho, NV_O_RDONLY);
  if (rc == 0) rc = NV_FileSize(&f, &tam);
  if (rc != 0) {
    std::fprintf(stderr, "kovtool: cannot read %s: %s\n", caminho, NV_NomeErro(rc));
    return false;
  }
  if (tam > kMaxSql) {
    std::fprintf(stderr, "kovtool: %s is too large for a product schema\n", caminho);
    return false;
  }
  sql->resize(static_cast<size_t>(tam));
  size_t lidos = 0;
  rc = NV_FileRead(&f, sql->data(), sql->size(), &lidos);
  if (rc != 0 || lidos != sql->size()) {
    std::fprintf(stderr, "kovtool: cannot read %s: %s\n", caminho, NV_NomeErro(rc));
    return false;
  }
  return true;
}

int Cria(const char* caminho_sql) {
  std::string sql, erro;
  if (!LeSql(caminho_sql, &sql)) return 1;
  if (CriaBaseProdutos(kArquivoBaseProdutos, sql, &erro) != 0) {
    std::fprintf(stderr, "kovtool: %s not built: %s\n", kArquivoBaseProdutos, erro.c_str());
    return 1;
  }
  std::printf("%s built from %s\n", kArquivoBaseProdutos, caminho_sql);
  return 0;
}

int ComCodigo(int argc, char** argv, int (*acao)(const char*)) {
  if (argc != 3) return ErroUso("prod %s takes one product code", argv[1]);
  if (std::strlen(argv[2]) != 3) return ErroUso("bad product code '%s' (3 characters)", argv[2]);
  return acao(argv[2]);
}

int SubCodigo(int argc, char** argv) { return ComCodigo(argc, argv, Codigo); }
int SubDados(int argc, char** argv) { return ComCodigo(argc, argv, Dados); }
int SubCria(int argc, char** argv) {
  if (argc > 3) return ErroUso("prod cria takes at most one SQL file");
  return Cria(argc == 3 ? argv[2] : kSqlPadrao);
}

const struct {
  const char* nome;
  int (*funcao)(int, char**);
} kSubcomandos[] = {
    {"codigo", SubCodigo},
    {"dados", SubDados},
    {"cria", SubCria},
};

}  // namespace

int CmdProd(int argc, char** argv) {
  if (argc < 2) return ErroUso("prod needs codigo CODE, dados CODE or cria [SQL]");
  for (const auto& s : kSubcomandos)
    if (std::strcmp(argv[1], s.nome) == 0) return s.funcao(argc, argv);
  return ErroUso("unknown prod subcommand '%s' (codigo, dados, cria)", argv[1]);
}
