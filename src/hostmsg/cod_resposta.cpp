// `TabCodResposta`, `BuscaCodResposta` and `TextoResultado`: fixed tables of
// display texts, searched from the first row.
#include "hostmsg/cod_resposta.h"

#include <cstring>

const LinhaCodResposta TabCodResposta[] = {
    {"00", "Transacao OK    "}, {"03", "03 Estab. Inval."}, {"06", "06 Refaca Trans."},
    {"09", "09"},               {"12", "12 Refaca Trans."}, {"13", "13 Valor Inval. "},
    {"14", "14 Probl.cartao "}, {"15", "15 Probl.cartao "}, {"19", "19 Refaca Trans."},
    {"20", "20 Cliente Inval"}, {"29", "29 Refaca Trans."}, {"30", "30 Refaca Trans."},
    {"31", "31 Probl.cartao "}, {"33", "33 Probl.cartao "}, {"34", "34 Probl.cartao "},
    {"35", "35 Probl.cartao "}, {"38", "38 Probl.cartao "}, {"41", "41 Probl.cartao "},
    {"43", "43 Probl.cartao "}, {"50", "50 Excede Limite"}, {"51", "51 Excede Limite"},
    {"52", "52 Probl.cartao "}, {"54", "54 Probl.cartao "}, {"55", "55 Senha Incor. "},
    {"56", "56 Probl.cartao "}, {"57", "57 Probl.cartao "}, {"60", "60 Ligue cartao "},
    {"61", "61 Excede Limite"}, {"62", "62 Probl.cartao "}, {"63", "63 Probl.cartao "},
    {"64", "64 Probl.cartao "}, {"65", "65 Probl.cartao "}, {"66", "66 Probl.cartao "},
    {"69", "69 Probl.cartao "}, {"70", "70 MOTOR./ERRADO"}, {"71", "71 FORNEC.BLOQ. "},
    {"72", "72 BANDEIRA BLOQ"}, {"73", "73 COTA INVALIDA"}, {"74", "74 QTD. MIN.    "},
    {"75", "75 QT.MAX ATING."}, {"76", "76 RENDIMEN.INV."}, {"77", "77 KM INVALIDO  "},
    {"78", "78 Refaca Trans."}, {"79", "79 Probl.cartao "}, {"80", "80 R$ MIN ABAIXO"},
    {"81", "81 R$ MAX ACIMA "}, {"82", "82 R$ MIN ABAIXO"}, {"83", "83 R$ MAX ACIMA "},
    {"84", "84 R$ MIN ABAIXO"}, {"85", "85 R$ MAX ACIMA "}, {"86", "86 HORARIO INV. "},
    {"87", "87 DIA INVALIDO "}, {"88", "88 PERIODO INV. "}, {"89", "89 PERIODO INV. "},
    {"90", "90 Refaca Trans."}, {"91", "91 FORN. INVAL. "}, {"92", "92 PROD.BLOQ.   "},
    {"95", "95 PROB.VL.UNIT."}, {"99", "99 Ligue cartao "},
};
static_assert(sizeof TabCodResposta / sizeof TabCodResposta[0] == kNumCodResposta);

namespace {

struct LinhaResultado {
  int resultado;
  const char* texto;
  const char* codigo;
};

constexpr LinhaResultado kResultados[] = {
    {2, "Trn. indefinida ", "S2"},  {3, "Campo indefinido", "V1"},
    {5, "Dados inconsist.", "S7"},  {6, "Tamanho invalido", "S6"},
    {9, "DOC nao existe  ", "S3"},  {10, "Dados invalidos ", "S4"},
    {11, "Senha invalida  ", "S8"}, {12, "Estabel. indef. ", "V2"},
    {13, "CPF/CGC invalido", "V3"}, {14, "Aprovado        ", "00"},
    {16, "Cartao vencido  ", "V6"}, {17, "Excede parcelas ", "V8"},
    {19, "CVC/CVV invalido", "S4"}, {21, "Produto invalido", "S4"},
    {22, "Erro Criptograf.", "A1"}, {30, "Excede taxa     ", "V8"},
    {31, "Trn ja' efetuada", "V9"}, {32, "Trans. invalida ", "S2"},
    {33, "Cartao invalido ", "S4"}, {34, "Excede prazo    ", "FF"},
    {35, "Data invalida   ", "S4"}, {36, "Garantia inval. ", "FF"},
    {37, "Er.leitura tarja", "FF"}, {38, "Er.param.trilhas", "FF"},
};

constexpr LinhaResultado kResultadoDesconhecido = {0, "ERRO", "FF"};

}  // namespace

const char* BuscaCodResposta(const char* codigo) {
  for (const LinhaCodResposta& l : TabCodResposta)
    if (std::strcmp(l.codigo, codigo) == 0) return l.texto;
  return codigo;
}

uint8_t ByteResultadoCodigo(const char* codigo) {
  bool digitos = codigo[0] >= '0' && codigo[0] <= '9' && codigo[1] >= '0' && codigo[1] <= '9';
  if (!digitos) return 255;
  return static_cast<uint8_t>((codigo[0] - '0') * 10 + (codigo[1] - '0'));
}

void TextoResultado(int resultado, char* texto, char* codigo) {
  const LinhaResultado* linha = &kResultadoDesconhecido;
  for (const LinhaResultado& l : kResultados)
    if (l.resultado == resultado) linha = &l;
  if (texto != nullptr) {
    std::memset(texto, 0, 17);
    std::memcpy(texto, linha->texto, std::strlen(linha->texto));
  }
  if (codigo != nullptr) {
    std::memset(codigo, 0, 3);
    std::memcpy(codigo, linha->codigo, 2);
  }
}
