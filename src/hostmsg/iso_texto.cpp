// Decoding and encoding whole messages as texts, over the codec's state.
#include "hostmsg/iso_texto.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hostmsg/iso_campos.h"
#include "hostmsg/iso_envio.h"
#include "hostmsg/iso_resposta.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/registros_log.h"
#include "services/texto.h"

namespace {

std::string Formata(const char* formato, int campo) {
  char linha[96];
  std::snprintf(linha, sizeof linha, formato, campo);
  return linha;
}

std::string MotivoSeparacao() {
  switch (MsgResposta.erro) {
    case SEP_CURTA: return "message shorter than its type and bitmap";
    case SEP_BITMAP_INVALIDO: return "bitmap is not hexadecimal";
    case SEP_ACIMA_MAXIMO:
      return Formata("field %03d announces more characters than its maximum", MsgResposta.campo_erro);
    case SEP_ALEM_DO_FIM:
      return Formata("field %03d runs past the end of the message", MsgResposta.campo_erro);
    default: return "invalid message";
  }
}

}  // namespace

std::string ParaHex(const std::string& bytes) {
  std::string hex(2 * bytes.size() + 1, '\0');
  BytesParaHex(bytes.data(), bytes.size(), hex.data());
  hex.resize(2 * bytes.size());
  return hex;
}

bool DecodificaIso(const void* dados, size_t n, MensagemTexto* msg, std::string* motivo) {
  *msg = MensagemTexto{};
  if (!CarregaMsgResposta(dados, n)) {
    *motivo = "message longer than " + std::to_string(kTamBufferResposta) + " bytes";
    return false;
  }
  bool ok = LeCabecalho() && LocalizaCampos(CampoPresente(1) ? 16 : 8);
  if (!ok) {
    *motivo = MotivoSeparacao();
    return false;
  }
  msg->tipo.assign(MsgResposta.tipo, 4);
  std::string bits(reinterpret_cast<const char*>(MsgResposta.bitmap), CampoPresente(1) ? 16 : 8);
  msg->bitmap = ParaHex(bits);
  for (int f = 2; f <= kNumCampos; ++f) {
    const char* p;
    uint16_t tam;
    if (CampoRecebido(f, &p, &tam)) msg->campos.push_back(CampoTexto{f, std::string(p, tam)});
  }
  return true;
}

int CodificaIso(const std::string& tipo, std::vector<CampoTexto> campos, std::string* msg,
                std::string* motivo) {
  if (tipo.size() != 4 || tipo.find_first_not_of("0123456789") != std::string::npos) {
    *motivo = "message type must be 4 digits";
    return 2;
  }
  std::sort(campos.begin(), campos.end(),
            [](const CampoTexto& a, const CampoTexto& b) { return a.numero < b.numero; });
  bool secundario = false;
  for (size_t i = 0; i < campos.size(); ++i) {
    int f = campos[i].numero;
    if (f < 2 || f > kNumCampos) {
      *motivo = Formata("field %d is not 2 to 128 (field 1 is set automatically)", f);
      return 2;
    }
    if (i > 0 && campos[i - 1].numero == f) {
      *motivo = Formata("field %03d given twice", f);
      return 2;
    }
    secundario = secundario || f > 64;
  }

  // A track's card number, kept by the codec for the current transaction,
  // has no transaction here: it is forgotten however the packing ends.
  struct EsqueceCartao {
    ~EsqueceCartao() { explicit_bzero(RegLog.Cartao, sizeof RegLog.Cartao); }
  } esquece;
  std::string buffer(kTamBufferEnvio, '\0');
  IniciaMensagem(buffer.data(), tipo.c_str(), buffer.size());
  if (secundario) {
    MarcaCampo(1);
    ReservaBitmapSecundario();
  }
  for (const CampoTexto& c : campos) {
    Campo linha;
    BuscaCampo(c.numero, &linha);
    std::string valor = c.valor;
    if (linha.tipo == TIPO_B) {
      valor.assign(c.valor.size() / 2, '\0');
      if (c.valor.size() % 2 != 0 ||
          HexParaBytes(c.valor.data(), c.valor.size(), valor.data(), valor.size()) != 0) {
        *motivo = Formata("field %03d is type b: give its bytes as hexadecimal text", c.numero);
        return 2;
      }
    }
    MarcaCampo(c.numero);
    int r = MontaCampo(valor.data(), valor.size(), linha);
    if (r != RES_MONTADA) {
      *motivo = Formata("field %03d: ", c.numero) +
                (r == RES_DADOS_INCONSISTENTES ? "DADOS INCONSISTENTES" : "TAMANHO ERRADO");
      return 1;
    }
  }
  FechaMensagem(buffer.data());
  msg->assign(buffer.data(), MsgEnvio.tamanho);
  return 0;
}
