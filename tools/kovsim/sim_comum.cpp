// The shared pieces of the stand-ins.  A timed read is a blocking queue
// read that a watchdog thread wakes once no message has come for the wait.
#include "sim_comum.h"

#include <cerrno>
#include <cstdio>
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

int ExecutaSessao(const SessaoSim& s) {
  NV_MsgQueue* leitor = nullptr;
  if (int rc = NV_MsgQueueCreate(&leitor, s.fila_leitura); rc != NV_OK)
    return Falha("%s: cannot create %s: %s", s.rotulo, s.fila_leitura, NV_NomeErro(rc));
  NV_MsgQueuePtr dono_leitor(leitor);
  std::printf("%s: reading %s\n", s.rotulo, s.fila_leitura);
  std::fflush(stdout);

  if (!s.mensagens->empty()) {
    NV_MsgQueue* escritor = nullptr;
    if (int rc = AbreEscritaComEspera(&escritor, s.fila_escrita, s.espera_ms); rc != NV_OK)
      return Falha("%s: the module's queue %s is not there: %s", s.rotulo, s.fila_escrita,
                   NV_NomeErro(rc));
    NV_MsgQueuePtr dono_escritor(escritor);
    for (size_t i = 0; i < s.mensagens->size(); ++i) {
      const Bytes& m = (*s.mensagens)[i];
      if (int rc = EnviaEmbaralhado(escritor, m); rc != NV_OK)
        return Falha("%s: message %zu not written: %s", s.rotulo, i + 1, NV_NomeErro(rc));
      std::printf("sent %zu: %zu bytes\n", i + 1, m.size());
    }
    std::fflush(stdout);
  }

  const int recebidas = RecebeMensagens(leitor, s.quantos, s.espera_ms, s.trata, s.contexto);
  if (s.quantos > 0 && recebidas < s.quantos)
    return Falha("%s: %d of %d messages came within %d ms", s.rotulo, recebidas, s.quantos,
                 s.espera_ms);
  return 0;
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
