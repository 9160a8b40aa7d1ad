// Builders of the 0610, the answer to the host's administrative request
// 0600: its fields go back as they came (same length and characters), and
// field 39 carries the answer code worked out for the transaction asked
// about.  A field the 0600 did not carry is not sent.
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_resposta.h"

int CampoEco(const Campo& c) {
  const char* dados;
  uint16_t tam;
  if (!CampoRecebido(c.numero, &dados, &tam)) return Declina(c);
  return MontaCampo(dados, tam, c);
}

// "80" (unknown to the module) goes out as "77"; so does an answer code that
// nobody worked out, rather than two spaces.
int CampoRespostaAdministrativa(const Campo& c) {
  const char* codigo = EstadoHostMsg.builders.cod_resposta_0610;
  if (codigo[0] == 0 || std::strcmp(codigo, "80") == 0) codigo = "77";
  return EnviaTexto(c, codigo, 2);
}
