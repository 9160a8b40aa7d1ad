// kovsim pdv: plays the switch's PDV side.  It creates the reply queue,
// waits for the module's request queue, sends the requests given in order
// (as hex, or the readable terminal close) and prints every message the
// module sends it.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "basico/intercom_filas.h"
#include "comandos.h"
#include "imprime_pdv.h"
#include "kovtiquetal/msg_pdv.h"
#include "nvpr/nv_error.h"

namespace {

struct OpcoesPdv {
  long rede = 77;
  std::vector<Bytes> pedidos;
  long posicao_fecha = -1;   // where the close goes among the requests
  std::string terminal, empresa, fila = "001";
  long subtipo = kSubFechaTerminal;
  long seq = 0;
  long quantos = 0;
  long espera_ms = 5000;
  bool hex = false;
};

const char* OpRede(OpcoesPdv* o, const char* v) {
  return LeInteiro(v, 0, 65535, &o->rede) ? nullptr : "--network takes 0 to 65535";
}
const char* OpEnviaHex(OpcoesPdv* o, const char* v) {
  Bytes b;
  if (!LeHex(v, &b) || b.empty()) return "--send-hex takes an even, non-empty count of hex digits";
  o->pedidos.push_back(std::move(b));
  return nullptr;
}
const char* OpFecha(OpcoesPdv* o, const char*) {
  if (o->posicao_fecha >= 0) return "--close may be given once";
  o->posicao_fecha = static_cast<long>(o->pedidos.size());
  o->pedidos.emplace_back();
  return nullptr;
}
const char* OpTerminal(OpcoesPdv* o, const char* v) {
  o->terminal = v;
  return o->terminal.size() >= 1 && o->terminal.size() <= 8 ? nullptr : "--terminal takes 1 to 8 characters";
}
const char* OpEmpresa(OpcoesPdv* o, const char* v) {
  o->empresa = v;
  return o->empresa.size() == 8 ? nullptr : "--company takes the 8-character company code";
}
const char* OpSubtipo(OpcoesPdv* o, const char* v) {
  return LeInteiro(v, 2, 4, &o->subtipo) && o->subtipo != 3 ? nullptr : "--subtype takes 2 or 4";
}
// Only digits: the module reads the routing number up to the first other
// character, so "+01" or " 01" would route the reply to 0.
const char* OpFila(OpcoesPdv* o, const char* v) {
  o->fila = v;
  const bool digitos = o->fila.size() == 3 && std::all_of(o->fila.begin(), o->fila.end(),
                                                          [](char c) { return c >= '0' && c <= '9'; });
  return digitos ? nullptr : "--queue takes 3 digits";
}
const char* OpSeq(OpcoesPdv* o, const char* v) {
  return LeInteiro(v, 0, 255, &o->seq) ? nullptr : "--seq takes 0 to 255";
}
const char* OpQuantos(OpcoesPdv* o, const char* v) {
  return LeInteiro(v, 0, 1000000, &o->quantos) ? nullptr : "--count takes a number >= 0";
}
const char* OpEspera(OpcoesPdv* o, const char* v) {
  return LeInteiro(v, 1, 3600000, &o->espera_ms) ? nullptr : "--wait takes milliseconds >= 1";
}
const char* OpHex(OpcoesPdv* o, const char*) {
  o->hex = true;
  return nullptr;
}

constexpr OpcaoSim<OpcoesPdv> kOpcoes[] = {
    {"--network", true, OpRede},   {"--send-hex", true, OpEnviaHex}, {"--close", false, OpFecha},
    {"--terminal", true, OpTerminal}, {"--company", true, OpEmpresa}, {"--subtype", true, OpSubtipo},
    {"--queue", true, OpFila},     {"--seq", true, OpSeq},           {"--count", true, OpQuantos},
    {"--wait", true, OpEspera},    {"--hex", false, OpHex},
};

// The readable terminal close: type 1, the sub-type, terminal (padded with
// spaces), reply queue, sequence, company, no data.
Bytes PedidoFecha(const OpcoesPdv& o) {
  Bytes m(kTamCabecalhoPdv, 0);
  m[kPosTipoPdv] = kTipoTransacao;
  m[kPosSubTipoPdv] = static_cast<uint8_t>(o.subtipo);
  std::memset(m.data() + kPosTerminalPdv, ' ', 8);
  std::memcpy(m.data() + kPosTerminalPdv, o.terminal.data(), o.terminal.size());
  std::memcpy(m.data() + offsetof(CabecalhoPdv, FilaResposta), o.fila.data(), 3);
  m[offsetof(CabecalhoPdv, SeqPdv)] = static_cast<uint8_t>(o.seq);
  std::memcpy(m.data() + kPosEmpresaPdv, o.empresa.data(), 8);
  return m;
}

int LeOpcoes(int argc, char** argv, OpcoesPdv* o) {
  if (int rc = LeOpcoesSim("pdv", argc, argv, kOpcoes, o); rc != 0) return rc;
  if (o->posicao_fecha >= 0) {
    if (o->terminal.empty() || o->empresa.empty())
      return ErroUso("pdv: --close needs --terminal and --company");
    o->pedidos[static_cast<size_t>(o->posicao_fecha)] = PedidoFecha(*o);
  }
  return 0;
}

void ImprimeRecebida(int numero, const Bytes& msg, void* contexto) {
  ImprimeQuadroPdv(numero, msg, static_cast<const OpcoesPdv*>(contexto)->hex);
}

}  // namespace

int CmdPdv(int argc, char** argv) {
  OpcoesPdv o;
  if (int rc = LeOpcoes(argc, argv, &o); rc != 0) return rc;
  char nome_respostas[kTamNomeFilaRede], nome_pedidos[kTamNomeFilaRede];
  NomeFilaRede(FILA_PDV_RESPOSTAS, static_cast<int>(o.rede), nome_respostas, sizeof nome_respostas);
  NomeFilaRede(FILA_PDV_PEDIDOS, static_cast<int>(o.rede), nome_pedidos, sizeof nome_pedidos);
  return ExecutaSessao({"pdv", nome_respostas, nome_pedidos, &o.pedidos, static_cast<int>(o.quantos),
                        static_cast<int>(o.espera_ms), ImprimeRecebida, &o});
}
