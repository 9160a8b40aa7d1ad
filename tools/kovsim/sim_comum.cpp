// The shared pieces of the stand-ins.  A timed read is a blocking queue
// read that a watchdog thread wakes once no message has come for the wait.
#include "sim_comum.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "comms/link.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_time.h"
#include "services/texto.h"

namespace {

constexpr int kIntervaloAberturaMs = 100;

// Wakes the reader once the deadline passes without a message.
struct Vigia {
  NV_MsgQueue* leitor = nullptr;
  int espera_ms = 0;
  NV_Mutex mutex;
  NV_Cond cond;
  int64_t prazo_ns = 0;
  bool fim = false;
};

int CorpoVigia(void* dados) {
  Vigia* v = static_cast<Vigia*>(dados);
  NV_Trava trava(&v->mutex);
  while (!v->fim) {
    const int64_t resta = v->prazo_ns - NV_RelogioMonotonico();
    if (resta <= 0) {
      NV_MsgQueueWake(v->leitor);
      break;
    }
    NV_CondWaitMs(&v->cond, &v->mutex, resta / 1000000 + 1);
  }
  return 0;
}

void Adia(Vigia* v) {
  NV_Trava trava(&v->mutex);
  v->prazo_ns = NV_RelogioMonotonico() + static_cast<int64_t>(v->espera_ms) * 1000000;
}

}  // namespace

bool LeInteiro(const char* texto, long minimo, long maximo, long* valor) {
  if (texto == nullptr || *texto == '\0') return false;
  char* fim = nullptr;
  errno = 0;
  const long v = std::strtol(texto, &fim, 10);
  if (errno != 0 || *fim != '\0' || v < minimo || v > maximo) return false;
  *valor = v;
  return true;
}

bool LeHex(const char* texto, Bytes* saida) {
  const size_t n = std::strlen(texto);
  saida->assign(n / 2, 0);
  return n % 2 == 0 && HexParaBytes(texto, n, saida->data(), saida->size()) == 0;
}

int AbreEscritaComEspera(NV_MsgQueue** fila, const char* nome, int espera_ms) {
  const int64_t prazo = NV_RelogioMonotonico() + static_cast<int64_t>(espera_ms) * 1000000;
  for (;;) {
    const int rc = NV_MsgQueueOpen(fila, nome);
    if (rc == NV_OK || NV_RelogioMonotonico() >= prazo) return rc;
    NV_Sleep(kIntervaloAberturaMs);
  }
}

int EnviaEmbaralhado(NV_MsgQueue* fila, const Bytes& msg) {
  Bytes copia = msg;
  EmbaralhaLink(copia.data(), copia.size());
  return NV_MsgQueueWrite(fila, copia.data(), copia.size());
}

int RecebeMensagens(NV_MsgQueue* leitor, int quantos, int espera_ms, TrataRecebida trata,
                    void* contexto) {
  Vigia v;
  v.leitor = leitor;
  v.espera_ms = espera_ms;
  NV_CondCreate(&v.cond);
  Adia(&v);
  NV_Thread t;
  const bool vigiando = NV_ThreadStart(&t, CorpoVigia, &v, 0, true) == NV_OK;
  int recebidas = 0;
  Bytes buf(1 << 16);
  while (vigiando && (quantos == 0 || recebidas < quantos)) {
    size_t n = 0;
    const int rc = NV_MsgQueueRead(leitor, buf.data(), buf.size(), &n);
    if (rc == NV_EINTR) break;   // the wait ran out
    if (rc != NV_OK) continue;   // a notification or a refused datagram
    Adia(&v);
    Bytes msg(buf.begin(), buf.begin() + static_cast<long>(n));
    DesembaralhaLink(msg.data(), msg.size());
    trata(++recebidas, msg, contexto);
  }
  if (vigiando) {
    {
      NV_Trava trava(&v.mutex);
      v.fim = true;
      NV_CondSignal(&v.cond);
    }
    NV_ThreadJoin(&t, nullptr);
  }
  NV_CondDestroy(&v.cond);
  return recebidas;
}

std::string TextoVisivel(const uint8_t* p, size_t n) {
  while (n > 0 && p[n - 1] == 0) --n;
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] >= 0x20 && p[i] < 0x7f && p[i] != '"' && p[i] != '\\') {
      s += static_cast<char>(p[i]);
    } else {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02x", p[i]);
      s += esc;
    }
  }
  return s;
}

std::string Hex(const uint8_t* p, size_t n) {
  static constexpr char kDigitos[] = "0123456789abcdef";
  std::string s;
  s.reserve(2 * n);
  for (size_t i = 0; i < n; ++i) {
    s += kDigitos[p[i] >> 4];
    s += kDigitos[p[i] & 0x0f];
  }
  return s;
}
