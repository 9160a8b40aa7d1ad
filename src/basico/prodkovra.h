// The brand and product registry: which brand a card number belongs to
// (the switch's brand file), which switch-wide product code stands for one
// of the network's products and what that product's attributes are (the
// switch's product database, with tables built into the module when the
// database has no answer), and whether a company may route a product
// through this network (the multi-brand files).  Every lookup degrades to
// "unknown"; none ever stops a transaction.
#pragma once
#include <cstddef>
#include <cstdint>

// Product attributes as they are stored in the secondary log record.  All
// zero when the product is not known.
struct DadosProduto {
  uint8_t id_bandeira[4];   // brand id, least significant byte first
  uint8_t id_produto[2];    // product id, least significant byte first
  uint8_t flags;            // 1 brand created by the user, 3 product created by the user
  uint8_t tipo;             // product type; 4 for a private label
  uint8_t subtipo[2];       // product sub-type, least significant byte first
};
static_assert(sizeof(DadosProduto) == 10);
static_assert(offsetof(DadosProduto, id_bandeira) == 0);
static_assert(offsetof(DadosProduto, id_produto) == 4);
static_assert(offsetof(DadosProduto, flags) == 6);
static_assert(offsetof(DadosProduto, tipo) == 7);
static_assert(offsetof(DadosProduto, subtipo) == 8);

inline constexpr uint8_t kProdutoBandeiraDoUsuario = 1;
inline constexpr uint8_t kProdutoCriadoPeloUsuario = 3;
inline constexpr uint8_t kTipoPrivateLabel = 4;

// The fields of a record, decoded.
uint32_t BandeiraDoProduto(const DadosProduto& d);
uint16_t IdDoProduto(const DadosProduto& d);
uint16_t SubtipoDoProduto(const DadosProduto& d);

// Brand table selectors.
enum : int { kTabBandeiraCredito = 1, kTabBandeiraDebito = 2 };

// Results of the brand operations.
enum : int {
  kBandSemMemoria = -1,
  kBandJaCarregada = -2,
  kBandNaoCarregada = -3,
  kBandSemCasamento = -4,    // no range holds the card, or the card is not numeric
  kBandSemFaixas = -5,
  kBandDesabilitada = -6,
  kBandSeletorInvalido = -7,
};
// What a negative result means, in words; null for any other value.
const char* SignificadoCodigoBandeira(int codigo);

// The brand file and the most ranges one table holds.
inline constexpr const char* kArquivoBandeiras = "/kovra/./config/bandeiras.ini";
inline constexpr int kMaxFaixasBandeira = 5000;
inline constexpr int kMaxEntradasRuins = 21;

// Opens the product database and selects the built-in product table of
// network `rede`.  Without a table for the network every lookup answers
// "unknown"; without the database the built-in tables answer.
void CarregaProdutos(int rede);
// The mode flag: set, a product whose multi-brand line names no network is
// allowed here.  The module sets it to 1 at start.
void DefineModoProdutos(int modo);

// 1 when key "HabilitaBandeira" of section "Geral" of the brand file is "1".
int BandeirasHabilitadas();
// Loads the credit (1) or debit (2) brand table from the brand file: the
// number of ranges, or a negative code above.
int CarregaBandeiras(int tabela);
// The brand code of a card number (its first 9 digits) in a loaded table,
// the narrowest range winning; or a negative code above.
int BuscaBandeira(int tabela, const char* cartao);

// The switch product code of a 3-character network product code, as five
// digits and a NUL in saida ("00000" when unknown).  1 found, 0 not.
int BuscaCodigoProduto(char (&saida)[6], const char* codigo);
// The attributes of a 3-character network product code (all zero when
// unknown).
void BuscaDadosProduto(DadosProduto* dados, const char* codigo);
// 1 when company `empresa` may route the 3-character product `codigo`
// through this network, 0 when not.
int VerificaMultiBandeira(const char* empresa, const char* codigo);

// Closes the database and forgets every table and flag (tests).
void ReiniciaProdutos();
