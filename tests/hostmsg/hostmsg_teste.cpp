// The host-message tests' shared fixture and helpers.
#include "hostmsg_teste.h"

#include <cstring>

#include "hostmsg/estado_hostmsg.h"
#include "hostmsg/iso_texto.h"
#include "hostmsg/msg_envio.h"
#include "kovtiquetal/registros.h"
#include "nvpr/nv_time.h"
#include "support/relogio.h"

Campos Separa(const std::string& msg, std::string* tipo, std::string* bitmap) {
  MensagemTexto m;
  std::string motivo;
  EXPECT_TRUE(DecodificaIso(msg.data(), msg.size(), &m, &motivo)) << motivo << " in " << msg;
  if (tipo) *tipo = m.tipo;
  if (bitmap) *bitmap = m.bitmap;
  Campos c;
  for (const CampoTexto& t : m.campos) c[t.numero] = t.valor;
  return c;
}

void FixaRelogio(int ano, int mes, int dia, int hora, int minuto, int segundo) {
  FixaRelogioLocal(ano, mes, dia, hora, minuto, segundo);
}

void HostMsgTeste::SetUp() {
  ReiniciaHostMsg();
  ReiniciaRegistros();
  std::memcpy(empresa_.Codigo, "00000001", 8);
  empresa_.Estado = kEmpresaAberta;
  empresa_.Estab = std::make_unique<RegistroEstab>();
  std::snprintf(empresa_.Estab->CodigoEstabelecimento, 16, "%-15s", "12345");
  std::memcpy(empresa_.VersaoTabela, "000007", 7);
  EmpresaAtual = &empresa_;
  std::memcpy(RegLog.Terminal, "PDV00001", 8);
}

void HostMsgTeste::TearDown() {
  ReiniciaHostMsg();
  ReiniciaRegistros();
  NV_RelogioReal();
}

int HostMsgTeste::Monta(int modo, const char* chave) {
  testing::internal::CaptureStdout();
  int r = montamsg(modo, chave, buffer_, sizeof buffer_);
  console_ = testing::internal::GetCapturedStdout();
  msg_ = r == 0 ? std::string(buffer_, MsgEnvio.tamanho) : std::string();
  return r;
}

int HostMsgTeste::MontaConfirmacao() {
  testing::internal::CaptureStdout();
  int r = montaconfirmacao(buffer_, sizeof buffer_);
  console_ = testing::internal::GetCapturedStdout();
  msg_ = r == 0 ? std::string(buffer_, MsgEnvio.tamanho) : std::string();
  return r;
}

void HostMsgTeste::PreparaVendaTarja() {
  TransacaoPdv.CodTrn = '0';
  TransacaoPdv.Entrada = '1';
  std::strcpy(TransacaoPdv.CodProcessamento, "003000");
  std::strcpy(TransacaoPdv.Cartao, "4111111111111111=25122010000012345678");
  std::strcpy(TransacaoPdv.Valor, "1500");
  std::strcpy(TransacaoPdv.Parcelas, "1");
}
