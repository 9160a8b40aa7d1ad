// `TabEnvio`, `TabConfirmacao` and the walk that builds a message from a
// definition.  The definitions are fixed program data; their search order
// and the field order of each are those the host expects.
#include "hostmsg/msg_envio.h"

#include <cstring>

#include "hostmsg/consistencia.h"
#include "hostmsg/resultados.h"
#include "services/depura.h"

namespace {

template <size_t N>
constexpr DefinicaoEnvio Definicao(int codigo, const char (&tipo)[5], const CampoEnvio (&campos)[N]) {
  static_assert(N <= kMaxCamposDefinicao);
  DefinicaoEnvio d{codigo, {tipo[0], tipo[1], tipo[2], tipo[3], 0}, static_cast<int>(N), {}};
  for (size_t i = 0; i < N; ++i) d.campos[i] = campos[i];
  return d;
}

// Builders shared by several definitions.
constexpr FuncaoCampo F1 = CampoBitmapSecundario;
constexpr FuncaoCampo FMarca = CampoMarcador;
constexpr FuncaoCampo F003 = CampoConstante<kTexto003>;
constexpr FuncaoCampo F076 = CampoConstante<kTexto076>;
constexpr FuncaoCampo F61 = CampoConstante<kTexto84845100>;

// The cancellation definitions 4, 5 and 9 list the same fields; only the
// builder of field 2 differs.
constexpr DefinicaoEnvio Cancelamento(int codigo, FuncaoCampo campo2) {
  return Definicao(codigo, "0400",
                   {{1, F1}, {2, campo2}, {3, CampoCodProcessamento}, {4, CampoValor},
                    {7, FMarca}, {11, FMarca}, {12, FMarca}, {13, FMarca},
                    {22, CampoModoEntradaOriginal}, {32, CampoAdquirente},
                    {39, CampoConstante<kTexto00>}, {41, CampoTerminal},
                    {42, CampoEstabelecimento}, {48, F003}, {49, F076}, {61, F61},
                    {64, CampoByteZero}, {67, CampoParcelas}, {90, CampoDadosOriginais},
                    {125, CampoDocOriginal}});
}

}  // namespace

const DefinicaoEnvio TabEnvio[kNumDefinicoesEnvio] = {
    // 1: network management (company initialisation, table loads).
    Definicao(12, "0800",
              {{1, F1}, {3, CampoCodProcessamentoCarga}, {7, FMarca}, {11, FMarca},
               {42, CampoEstabelecimento}, {47, CampoVersaoTabela}, {48, F003},
               {70, CampoConstante<kTexto001>}}),
    // 2: credit sale, card read from the stripe.
    Definicao('0', "0200",
              {{1, F1}, {3, CampoCodProcessamento}, {4, CampoValor}, {7, FMarca}, {11, FMarca},
               {12, FMarca}, {13, FMarca}, {22, CampoModoEntrada}, {32, CampoAdquirente},
               {35, CampoTrilha}, {41, CampoTerminal}, {42, CampoEstabelecimento}, {48, F003},
               {49, F076}, {52, CampoBlocoPin}, {61, F61}, {62, CampoFuel},
               {63, CampoIndicadorPin}, {67, CampoParcelas}, {104, CampoDeclinado},
               {120, CampoContinuacaoFuel}}),
    // 3: credit sale, card number typed.
    Definicao('2', "0200",
              {{1, F1}, {2, CampoCartaoDigitado}, {3, CampoCodProcessamento}, {4, CampoValor},
               {7, FMarca}, {11, FMarca}, {12, FMarca}, {13, FMarca}, {14, CampoValidade},
               {22, CampoModoEntrada}, {32, CampoAdquirente}, {41, CampoTerminal},
               {42, CampoEstabelecimento}, {48, F003}, {49, F076}, {52, CampoBlocoPin},
               {61, F61}, {62, CampoFuel}, {63, CampoIndicadorPin}, {67, CampoParcelas},
               {104, CampoDeclinado}, {120, CampoContinuacaoFuel}}),
    // 4: cancellation of a credit sale, card read from the stripe.
    Cancelamento('6', CampoCartaoCancelamento),
    // 5: cancellation of a credit sale, card number typed.
    Cancelamento('7', CampoCartaoCancelamentoDigitado),
    // 6: undo advice.
    Definicao(0, "0420",
              {{1, F1}, {2, CampoAvisoCartao}, {3, CampoAvisoCodProcessamento},
               {4, CampoAvisoValor}, {7, CampoAvisoDataHora}, {11, CampoAvisoSequencia},
               {13, CampoAvisoData}, {14, CampoAvisoValidade}, {22, CampoAvisoModoEntrada},
               {32, CampoAvisoAdquirente}, {35, CampoAvisoTrilha},
               {39, CampoConstante<kTexto78>}, {41, CampoAvisoTerminal},
               {42, CampoAvisoEstabelecimento}, {49, F076}, {61, F61},
               {90, CampoAvisoDadosOriginais}}),
    // 7: answer to the host's administrative request 0600.
    Definicao(0, "0610",
              {{1, F1}, {7, CampoEco}, {11, CampoEco}, {12, CampoEco}, {13, CampoEco},
               {39, CampoRespostaAdministrativa}, {41, CampoEco}, {42, CampoEco},
               {125, CampoEco}, {127, CampoEco}}),
    // 8: debit sale, with chip data when the PDV supplies it.
    Definicao(' ', "0200",
              {{1, F1}, {3, CampoCodProcessamento}, {4, CampoValor}, {7, FMarca}, {11, FMarca},
               {12, FMarca}, {13, FMarca}, {22, CampoModoEntrada}, {23, CampoSequenciaCartao},
               {32, CampoAdquirente}, {35, CampoTrilha}, {41, CampoTerminal},
               {42, CampoEstabelecimento}, {48, F003}, {49, F076}, {52, CampoBlocoPin},
               {55, CampoDadosChip}, {61, F61}, {62, CampoFuel}, {63, CampoIndicadorPin},
               {67, CampoParcelas}, {104, CampoDeclinado}, {120, CampoContinuacaoFuel}}),
    // 9: cancellation of a debit sale.
    Cancelamento('#', CampoCartaoCancelamento),
    // 10: authorisation of a fuel-controlled transaction.
    Definicao(')', "0100",
              {{1, F1}, {3, CampoCodProcessamento}, {7, FMarca}, {11, FMarca}, {12, FMarca},
               {13, FMarca}, {22, CampoModoEntrada}, {35, CampoTrilha}, {41, CampoTerminal},
               {42, CampoEstabelecimento}, {52, CampoBlocoPin}, {61, F61},
               {63, CampoIndicadorPin}, {104, CampoDeclinado}}),
};

const DefinicaoEnvio TabConfirmacao =
    Definicao(0, "0202",
              {{1, F1}, {3, CampoConfCodProcessamento}, {4, CampoConfValor},
               {7, CampoConfDataHora}, {11, CampoConfNsu}, {22, CampoConfModoEntrada},
               {32, CampoConfAdquirente}, {39, CampoConfCodResposta}, {41, CampoConfTerminal},
               {42, CampoConfEstabelecimento}, {49, F076}, {127, CampoConfDocHost}});

namespace {

const DefinicaoEnvio* BuscaDefinicao(int modo, const char* chave) {
  for (const DefinicaoEnvio& d : TabEnvio) {
    // Code 0 marks the definitions that are only looked up by message type.
    if (modo == MODO_TIPO ? std::strncmp(d.tipo, chave, 4) == 0
                          : d.codigo != 0 && d.codigo == static_cast<unsigned char>(chave[0]))
      return &d;
  }
  return nullptr;
}

// Walks one definition into the buffer; the bitmap is closed on success.
int MontaDefinicao(const DefinicaoEnvio& d, char* buffer, size_t capacidade) {
  if (IniciaMensagem(buffer, d.tipo, capacidade) != 0) {
    ErroConsistencia("TAMANHO ERRADO", 4, d.tipo);
    return RES_TAMANHO_ERRADO;
  }
  for (int i = 0; i < d.num_campos; ++i) {
    Campo linha;
    uint8_t numero = d.campos[i].numero;
    if (!BuscaCampo(numero, &linha)) {
      ErroConsistencia("CAMPO INDEFINIDO", 1, &numero);
      return RES_CAMPO_INDEFINIDO;
    }
    MarcaCampo(numero);
    int r = d.campos[i].monta(linha);
    if (r != RES_MONTADA) return r;
  }
  FechaMensagem(buffer);
  return RES_MONTADA;
}

}  // namespace

int montamsg(int modo, const char* chave, char* buffer, size_t capacidade) {
  EsvaziaPosicoes();
  const DefinicaoEnvio* d = chave != nullptr ? BuscaDefinicao(modo, chave) : nullptr;
  if (d == nullptr) {
    ErroConsistencia("TRN INDEFINIDA", chave != nullptr ? strnlen(chave, 4) : 0, chave);
    return RES_TRN_INDEFINIDA;
  }
  int r = MontaDefinicao(*d, buffer, capacidade);
  if (r != RES_MONTADA) return r;
  Depura("saiu do montamsg");
  return RES_MONTADA;
}

// The 0202 has no placeholders; positions left from an earlier build are
// forgotten so that nothing can write into this message through them.
int montaconfirmacao(char* buffer, size_t capacidade) {
  EsvaziaPosicoes();
  if (TabConfirmacao.num_campos == 0) {
    ErroConsistencia("CONFIRMACAO INDEFINIDA", 4, TabConfirmacao.tipo);
    return RES_DOC_NAO_EXISTE;
  }
  return MontaDefinicao(TabConfirmacao, buffer, capacidade);
}
