// The chip fields of the debit sale: field 23, the card sequence number
// taken from the data object 5F34 (which then leaves the chip data), and
// field 55, the chip data objects.  Both are declined without chip data.
#include <cstdio>
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/objeto_chip.h"
#include "kovtiquetal/transacao_pdv.h"
#include "services/texto.h"

namespace {
constexpr size_t kMaxDigitosSequencia = 10;
}

int CampoSequenciaCartao(const Campo& c) {
  if (!TransacaoPdv.ChipPresente) return Declina(c);
  size_t pos, tam;
  if (!BuscaObjetoChip(TransacaoPdv.EMV_Dados, "5F34", &pos, &tam) || tam < 1 ||
      tam > kMaxDigitosSequencia)
    return Declina(c);
  long long seq = TextoParaIntFixo(TransacaoPdv.EMV_Dados + pos, static_cast<int>(tam));
  char texto[24];
  int k = std::snprintf(texto, sizeof texto, "%03lld", seq);
  int r = MontaCampo(texto, static_cast<size_t>(k), c);
  if (r != 0) return r;
  RemoveObjetoChip(TransacaoPdv.EMV_Dados, "5F34");
  return 0;
}

int CampoDadosChip(const Campo& c) {
  if (!TransacaoPdv.ChipPresente || TransacaoPdv.EMV_Dados[0] == 0) return Declina(c);
  return EnviaTexto(c, TransacaoPdv.EMV_Dados, sizeof TransacaoPdv.EMV_Dados);
}
