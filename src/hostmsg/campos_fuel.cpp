// Fields 62 and 120 of a fuel sale (processing codes "033000" and
// "032000"): the administrative item, the odometer and the registration,
// then one 26-character entry per fuel product line.  Entries that would
// take field 62 past 950 characters go to a continuation sent in field 120.
// A value wider than its slot is refused rather than cut.
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/consistencia.h"
#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/transacao_pdv.h"

namespace {

constexpr size_t kMaxCampo62 = 950;
constexpr size_t kTamEntrada = 26;
constexpr char kArroba = 0x40;

bool EhFuel() { return ProcessamentoEntre(TransacaoPdv.CodProcessamento, "033000", "032000"); }

// Appends a text of at most `max` characters, trimmed of spaces,
// right-aligned and zero-filled to `largura`.
bool AnexaAparado(char* saida, size_t* n, const char* texto, size_t max, size_t largura) {
  size_t tam = strnlen(texto, max);
  size_t ini = 0;
  while (ini < tam && texto[ini] == ' ') ++ini;
  while (tam > ini && texto[tam - 1] == ' ') --tam;
  if (!AlinhaDireita(saida + *n, texto + ini, tam - ini, largura)) return false;
  *n += largura;
  return true;
}

int Recusa(const char* texto, size_t max) {
  ErroConsistencia("TAMANHO ERRADO", strnlen(texto, max), texto);
  return RES_TAMANHO_ERRADO;
}

}  // namespace

int CampoFuel(const Campo& c) {
  EstadoBuilders& b = EstadoHostMsg.builders;
  b.tam_continuacao = 0;
  b.continuacao[0] = 0;
  if (!EhFuel()) return Declina(c);

  char valor[kMaxCampo62 + 1];
  size_t n = 0;
  const struct {
    const char* texto;
    size_t largura;
  } cabecalho[] = {{TransacaoPdv.AdmItem3, 12}, {TransacaoPdv.Km, 6}, {TransacaoPdv.Matricula, 12}};
  for (const auto& item : cabecalho) {
    if (!AnexaAparado(valor, &n, item.texto, 20, item.largura)) return Recusa(item.texto, 20);
    valor[n++] = kArroba;
  }

  if (TransacaoPdv.QtdItens > kMaxItensFuel) {
    ErroConsistencia("TAMANHO ERRADO", sizeof TransacaoPdv.QtdItens, &TransacaoPdv.QtdItens);
    return RES_TAMANHO_ERRADO;
  }
  for (int i = 0; i < TransacaoPdv.QtdItens; ++i) {
    const char* linha = TransacaoPdv.Itens[i];
    char entrada[kTamEntrada];
    size_t k = 0;
    if (!AnexaAparado(entrada, &k, linha + kItemCodigo, 6, 2)) return Recusa(linha + kItemCodigo, 6);
    if (!AnexaAparado(entrada, &k, linha + kItemValor1, 12, 12)) return Recusa(linha + kItemValor1, 12);
    if (!AnexaAparado(entrada, &k, linha + kItemValor2, 12, 12)) return Recusa(linha + kItemValor2, 12);
    bool vai_para_continuacao = b.tam_continuacao > 0 || n + kTamEntrada + 2 > kMaxCampo62;
    if (vai_para_continuacao) {
      if (b.tam_continuacao + kTamEntrada > kMaxContinuacaoFuel) return Recusa(linha, kTamItemFuel);
      std::memcpy(b.continuacao + b.tam_continuacao, entrada, kTamEntrada);
      b.tam_continuacao += kTamEntrada;
      b.continuacao[b.tam_continuacao] = 0;
    } else {
      std::memcpy(valor + n, entrada, kTamEntrada);
      n += kTamEntrada;
    }
  }
  valor[n++] = b.tam_continuacao > 0 ? '+' : kArroba;
  return MontaCampo(valor, n, c);
}

int CampoContinuacaoFuel(const Campo& c) {
  EstadoBuilders& b = EstadoHostMsg.builders;
  if (!EhFuel() || b.tam_continuacao == 0) return Declina(c);
  char valor[kMaxContinuacaoFuel + 2];
  std::memcpy(valor, b.continuacao, b.tam_continuacao);
  valor[b.tam_continuacao] = kArroba;
  return MontaCampo(valor, b.tam_continuacao + 1, c);
}
