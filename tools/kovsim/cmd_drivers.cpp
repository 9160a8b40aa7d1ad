// kovsim drivers: plays the switch's host drivers.  It creates the
// module's transmit queue and prints each envelope the module sends (kind,
// routing header, payload as text and hex), and sends envelopes to the
// module's receive queue: a payload with a kind, a routing header and
// optionally obfuscated, or a whole envelope as given.
#include <cstdio>
#include <cstring>
#include <string>

#include "basico/intercom.h"
#include "basico/intercom_filas.h"
#include "comandos.h"
#include "comms/ofusca.h"
#include "nvpr/nv_error.h"
#include "sim_comum.h"

namespace {

struct OpcoesDrivers {
  long rede = 77;
  long tipo = 0;
  std::string roteamento = "00000000";
  bool ofuscado = false;
  std::vector<Bytes> envelopes;
  long quantos = 0;
  long espera_ms = 5000;
};

const char* OpRede(OpcoesDrivers* o, const char* v) {
  return LeInteiro(v, 0, 65535, &o->rede) ? nullptr : "--network takes 0 to 65535";
}
const char* OpTipo(OpcoesDrivers* o, const char* v) {
  return LeInteiro(v, 0, 127, &o->tipo) ? nullptr : "--kind takes 0 to 127 (bit 7 is --obfuscated)";
}
const char* OpRoteamento(OpcoesDrivers* o, const char* v) {
  o->roteamento = v;
  return o->roteamento.size() == kTamRoteamentoHost ? nullptr : "--header takes 8 characters";
}
const char* OpOfuscado(OpcoesDrivers* o, const char*) {
  o->ofuscado = true;
  return nullptr;
}
// An envelope of the options given so far around the payload.
const char* OpInjeta(OpcoesDrivers* o, const char* v) {
  Bytes carga;
  if (!LeHex(v, &carga)) return "--inject-hex takes an even count of hex digits";
  Bytes env(kTamEnvelopeHost, 0);
  env[0] = static_cast<uint8_t>(o->tipo) | (o->ofuscado ? kBitOfuscado : 0);
  std::memcpy(env.data() + kTamCabecalhoEnvelope, o->roteamento.data(), kTamRoteamentoHost);
  if (o->ofuscado) OfuscaPayload(carga.data(), carga.size());
  env.insert(env.end(), carga.begin(), carga.end());
  o->envelopes.push_back(std::move(env));
  return nullptr;
}
const char* OpEnvelope(OpcoesDrivers* o, const char* v) {
  Bytes env;
  if (!LeHex(v, &env) || env.empty())
    return "--envelope-hex takes an even, non-empty count of hex digits";
  o->envelopes.push_back(std::move(env));
  return nullptr;
}
const char* OpQuantos(OpcoesDrivers* o, const char* v) {
  return LeInteiro(v, 0, 1000000, &o->quantos) ? nullptr : "--count takes a number >= 0";
}
const char* OpEspera(OpcoesDrivers* o, const char* v) {
  return LeInteiro(v, 1, 3600000, &o->espera_ms) ? nullptr : "--wait takes milliseconds >= 1";
}

constexpr OpcaoSim<OpcoesDrivers> kOpcoes[] = {
    {"--network", true, OpRede},        {"--kind", true, OpTipo},
    {"--header", true, OpRoteamento},   {"--obfuscated", false, OpOfuscado},
    {"--inject-hex", true, OpInjeta},   {"--envelope-hex", true, OpEnvelope},
    {"--count", true, OpQuantos},       {"--wait", true, OpEspera},
};

void ImprimeEnvelope(int numero, const Bytes& env, void*) {
  if (env.size() < kTamEnvelopeHost) {
    std::printf("envelope %d: %zu bytes, shorter than its 9-byte head\n  hex: %s\n", numero,
                env.size(), Hex(env.data(), env.size()).c_str());
    std::fflush(stdout);
    return;
  }
  Bytes carga(env.begin() + kTamEnvelopeHost, env.end());
  const bool ofuscado = (env[0] & kBitOfuscado) != 0;
  if (ofuscado) DesofuscaPayload(carga.data(), carga.size());
  std::printf("envelope %d: %zu bytes, kind %u, obfuscated %s\n", numero, env.size(),
              env[0] & ~kBitOfuscado & 0xFFu, ofuscado ? "yes" : "no");
  std::printf("  header: \"%s\"\n", TextoVisivel(env.data() + kTamCabecalhoEnvelope,
                                                 kTamRoteamentoHost).c_str());
  std::printf("  payload (%zu bytes): \"%s\"\n", carga.size(),
              TextoVisivel(carga.data(), carga.size()).c_str());
  std::printf("  hex: %s\n", Hex(carga.data(), carga.size()).c_str());
  std::fflush(stdout);
}

}  // namespace

int CmdDrivers(int argc, char** argv) {
  OpcoesDrivers o;
  if (int rc = LeOpcoesSim("drivers", argc, argv, kOpcoes, &o); rc != 0) return rc;
  char nome_tx[kTamNomeFilaRede], nome_rx[kTamNomeFilaRede];
  NomeFilaRede(FILA_DRIVER_TX, static_cast<int>(o.rede), nome_tx, sizeof nome_tx);
  NomeFilaRede(FILA_DRIVER_RX, static_cast<int>(o.rede), nome_rx, sizeof nome_rx);
  return ExecutaSessao({"drivers", nome_tx, nome_rx, &o.envelopes, static_cast<int>(o.quantos),
                        static_cast<int>(o.espera_ms), ImprimeEnvelope, nullptr});
}
