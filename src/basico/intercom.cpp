// envia_host and recebe_host: the link envelope around each host message,
// its obfuscation and scrambling, and the audit records of both directions.
#include "basico/intercom.h"

#include <atomic>
#include <cstring>
#include <new>
#include <vector>

#include "basico/intercom_rede.h"
#include "basico/libcomdrivers.h"
#include "comms/link.h"
#include "comms/ofusca.h"
#include "nvpr/nv_process.h"
#include "services/trace.h"

namespace {

constexpr uint8_t kAuditEnvioHost = 51;
constexpr uint8_t kAuditEnvelopeHost = 52;
constexpr int kPausaRecepcaoMs = 500;

struct EstadoInterCom {
  std::atomic<bool> ofuscacao{false};
  std::atomic<SumidouroHost> sumidouro{nullptr};
  std::atomic<int> pausa_ms{kPausaRecepcaoMs};
};
EstadoInterCom g_intercom;

// Zeroes a buffer that held a host message before it goes.
void Apaga(std::vector<uint8_t>* v) {
  if (!v->empty()) std::memset(v->data(), 0, v->size());
}

// Takes one envelope; its length, or 0 once the reception is closed.
size_t RecebeEnvelope(std::vector<uint8_t>* env) {
  for (;;) {
    const int r = RecebeDriver(CodigoRede, env->data(), env->size(), -1);
    if (r < 0) EscreveMensagem("Erro Recepcao Host");
    // An envelope without its 9 bytes has no payload to give: it is dropped.
    if (r > 0 && static_cast<size_t>(r) < kTamEnvelopeHost) {
      EscreveMensagemF("Erro - envelope do Host com %d bytes", r);
      std::memset(env->data(), 0, static_cast<size_t>(r));
      continue;
    }
    if (r > 0) return static_cast<size_t>(r);
    if (RecebeDriverEncerrado()) return 0;
    NV_Sleep(g_intercom.pausa_ms.load());
  }
}

}  // namespace

bool OfuscacaoHost() { return g_intercom.ofuscacao.load(); }
void DefineOfuscacaoHost(bool ligada) { g_intercom.ofuscacao.store(ligada); }
void DesviaEnvioHost(SumidouroHost sumidouro) { g_intercom.sumidouro.store(sumidouro); }
void DefinePausaRecepcaoHost(int ms) { g_intercom.pausa_ms.store(ms > 0 ? ms : kPausaRecepcaoMs); }

void ReiniciaInterCom() {
  g_intercom.ofuscacao.store(false);
  g_intercom.sumidouro.store(nullptr);
  g_intercom.pausa_ms.store(kPausaRecepcaoMs);
}

void envia_host(uint8_t tipo, const uint8_t roteamento[kTamRoteamentoHost], const void* payload,
                size_t tam) {
  if (roteamento == nullptr || (tam > 0 && payload == nullptr)) return;
  std::vector<uint8_t> env;
  try {
    env.resize(tam + kTamEnvelopeHost);
  } catch (const std::bad_alloc&) {
    return;
  }
  env[0] = tipo;
  std::memcpy(env.data() + kTamCabecalhoEnvelope, roteamento, kTamRoteamentoHost);
  if (tam > 0) std::memcpy(env.data() + kTamEnvelopeHost, payload, tam);
  GravaAudit(kAuditEnvioHost, env.data() + kTamEnvelopeHost, tam, nullptr, 0, __FILE__, __LINE__);

  if (SumidouroHost s = g_intercom.sumidouro.load()) {
    s(tipo, env.data() + kTamCabecalhoEnvelope, env.data() + kTamEnvelopeHost, tam);
    Apaga(&env);
    return;
  }
  if (OfuscacaoHost()) {
    env[0] |= kBitOfuscado;
    OfuscaPayload(env.data() + kTamEnvelopeHost, tam);
  }
  EmbaralhaLink(env.data(), env.size());
  const int r = EnviaDriver(CodigoRede, env.data(), env.size());
  if (r <= 0) EscreveMensagemF("Erro %d envio Host", r);
  Apaga(&env);
}

size_t recebe_host(uint8_t* buf, size_t tam) {
  if (buf == nullptr) return 0;
  std::vector<uint8_t> env;
  try {
    env.resize(tam + kTamEnvelopeHost);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  const size_t n = RecebeEnvelope(&env);
  if (n == 0) return 0;
  uint8_t* p = env.data();
  const size_t carga = n - kTamEnvelopeHost;
  DesembaralhaLink(p, n);
  if (p[0] & kBitOfuscado) {
    DesofuscaPayload(p + kTamEnvelopeHost, carga);
    DefineOfuscacaoHost(true);
  } else {
    DefineOfuscacaoHost(p[0] == kTipoPedeOfuscacao);
  }
  GravaAudit(kAuditEnvelopeHost, p, n, nullptr, 0, __FILE__, __LINE__);
  if (carga > 0) std::memcpy(buf, p + kTamEnvelopeHost, carga);
  Apaga(&env);
  return carga;
}
