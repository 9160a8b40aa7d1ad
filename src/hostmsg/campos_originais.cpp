// Assembly of field 90, the original data elements.
#include "hostmsg/campos_originais.h"

#include <cstring>

#include "hostmsg/builders_util.h"
#include "hostmsg/consistencia.h"
#include "hostmsg/resultados.h"

int EnviaDadosOriginais(const Campo& c, const char* tipo, const char* nsu, const char* data,
                        const char* hora, const char* adquirente) {
  // The acquirer is the card's first 11 digits: a refused one is shown
  // masked as field 32 is.
  const struct {
    const char* texto;
    size_t largura;
    int mascara;
  } partes[] = {{tipo, 4, 0},  {nsu, 6, 0},         {data, 4, 0},
                {hora, 6, 0},  {adquirente, 11, 32}, {"", 11, 0}};
  char valor[42];
  size_t n = 0;
  for (const auto& p : partes) {
    size_t tam = strnlen(p.texto, p.largura + 1);
    if (!AlinhaDireita(valor + n, p.texto, tam, p.largura)) {
      ErroConsistenciaCampo("TAMANHO ERRADO", p.mascara, tam, p.texto);
      return RES_TAMANHO_ERRADO;
    }
    n += p.largura;
  }
  return MontaCampo(valor, n, c);
}
