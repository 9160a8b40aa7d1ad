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

using TrataOpcao = const char* (*)(OpcoesDrivers* o, const char* valor);

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

struct OpcaoDrivers {
  const char* nome;
  bool com_valor;
  TrataOpcao trata;
};

constexpr OpcaoDrivers kOpcoes[] = {
    {"--network", true, OpRede},        {"--kind", true, OpTipo},
    {"--header", true, OpRoteamento},   {"--obfuscated", false, OpOfuscado},
    {"--inject-hex", true, OpInjeta},   {"--envelope-hex", true, OpEnvelope},
    {"--count", true, OpQuantos},       {"--wait", true, OpEspera},
};

int LeOpcoes(int argc, char** argv, OpcoesDrivers* o) {
  for (int i = 1; i < argc; ++i) {
    const OpcaoDrivers* op = nullptr;
    for (const OpcaoDrivers& c : kOpcoes)
      if (std::strcmp(argv[i], c.nome) == 0) op = &c;
    if (op == nullptr) return ErroUso("drivers: unknown option '%s'", argv[i]);
    if (op->com_valor && i + 1 >= argc) return ErroUso("drivers: %s needs a value", op->nome);
    if (const char* erro = op->trata(o, op->com_valor ? argv[++i] : nullptr))
      return ErroUso("drivers: %s", erro);
  }
  return 0;
}

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
  if (int rc = LeOpcoes(argc, argv, &o); rc != 0) return rc;
  char nome_tx[kTamNomeFilaRede], nome_rx[kTamNomeFilaRede];
  NomeFilaRede(FILA_DRIVER_TX, static_cast<int>(o.rede), nome_tx, sizeof nome_tx);
  NomeFilaRede(FILA_DRIVER_RX, static_cast<int>(o.rede), nome_rx, sizeof nome_rx);

  NV_MsgQueue* leitor = nullptr;
  if (int rc = NV_MsgQueueCreate(&leitor, nome_tx); rc != NV_OK)
    return Falha("drivers: cannot create %s: %s", nome_tx, NV_NomeErro(rc));
  NV_MsgQueuePtr dono_leitor(leitor);
  std::printf("drivers: reading %s\n", nome_tx);
  std::fflush(stdout);

  if (!o.envelopes.empty()) {
    NV_MsgQueue* escritor = nullptr;
    if (int rc = AbreEscritaComEspera(&escritor, nome_rx, static_cast<int>(o.espera_ms));
        rc != NV_OK)
      return Falha("drivers: the module's queue %s is not there: %s", nome_rx, NV_NomeErro(rc));
    NV_MsgQueuePtr dono_escritor(escritor);
    for (size_t i = 0; i < o.envelopes.size(); ++i) {
      if (int rc = EnviaEmbaralhado(escritor, o.envelopes[i]); rc != NV_OK)
        return Falha("drivers: envelope %zu not written: %s", i + 1, NV_NomeErro(rc));
      std::printf("sent %zu: %zu bytes\n", i + 1, o.envelopes[i].size());
    }
    std::fflush(stdout);
  }

  const int recebidas = RecebeMensagens(leitor, static_cast<int>(o.quantos),
                                        static_cast<int>(o.espera_ms), ImprimeEnvelope, nullptr);
  if (o.quantos > 0 && recebidas < o.quantos)
    return Falha("drivers: %d of %ld envelopes came within %ld ms", recebidas, o.quantos,
                 o.espera_ms);
  return 0;
}
