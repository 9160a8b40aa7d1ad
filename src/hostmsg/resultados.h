// The results of building a host request.  They travel unchanged to the
// caller that asked for the message, which turns them into the PDV's reply
// texts (cod_resposta.h).
#pragma once

enum : int {
  RES_MONTADA = 0,                // message built
  RES_TRN_INDEFINIDA = 2,         // no definition for the key
  RES_CAMPO_INDEFINIDO = 3,       // a field of the definition is not in TabCampos
  RES_DADOS_INCONSISTENTES = 5,   // a value has characters its type refuses
  RES_TAMANHO_ERRADO = 6,         // a value is longer than its field, or does not fit
  RES_DOC_NAO_EXISTE = 9,         // no 0202 definition; cancellation without original
  RES_DADOS_INVALIDOS = 10,       // cancellation does not match its original
  RES_SENHA_INVALIDA = 11,        // the card's product requires a PIN and none came
};
