// The trace handler of the module and the two reports built on it.
// EscreveMensagem and GravaAudit build one trace record on the stack and
// hand it to the run-time's dispatcher, which calls the handler installed
// here (once per process) under its per-thread re-entry guard.  The handler
// spools message-log lines, passes audit records to the audit writer and
// writes nothing for the run-time's own error reports.  Tracing never fails
// its caller: what cannot be written is dropped.
#include "services/trace.h"

#include <atomic>
#include <cstddef>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_process.h"

namespace {

constexpr const char* kTipoRegistro = "NV_TRACEMSG";
constexpr const char* kCtxMensagem = "EscreveMensagem";
constexpr const char* kCtxAudit = "GravaAudit";
constexpr const char* kVarMensagem = "TRACE_ESCREVEMENSAGEM";
constexpr const char* kVarAudit = "TRACE_GRAVAAUDIT";
constexpr int kNivelMensagem = 20;

// Room of a formatted message-log line: 256 characters and the NUL.
constexpr size_t kTamLinhaFormatada = 257;

// The origin name when the switch's communication configuration (kept by
// the switch in enciphered form, not read here) gives none.
constexpr const char* kOrigemPadrao = "KovTiquetal";
constexpr int kNumerosSpool = 100;

// One message-log line as the switch's collector reads it.
struct RegistroSpool {
  char origem[8];    // first 8 characters, zero bytes after a shorter name
  char texto[256];   // first 256 characters, zero bytes after a shorter text
};
static_assert(sizeof(RegistroSpool) == kTamRegistroSpool);
static_assert(offsetof(RegistroSpool, origem) == 0);
static_assert(offsetof(RegistroSpool, texto) == 8);

struct EstadoTrace {
  NV_Once preparo = NV_ONCE_INIT;        // handler installed
  NV_Once preparo_spool = NV_ONCE_INIT;  // spool directory and origin name
  char origem[sizeof(RegistroSpool::origem)] = {};
  std::atomic<GravadorAudit> gravador{nullptr};
  // Set by the operator tools: their lines go to standard error, never to
  // the switch's message log.
  std::atomic<bool> mensagens_no_console{false};
  // Output thresholds of the records the handler does not know (error
  // output, audit trail, message log): a record reaches an output only when
  // the threshold is at least its level.  They stay at 10, so the
  // run-time's level-30 reports reach none.
  int limiar_erro = 10;
  int limiar_audit = 10;
  int limiar_mensagem = 10;
};
EstadoTrace g_trace;

// Copies at most `room` bytes of a text into a zero-filled field.
void PreencheCampo(char* campo, size_t room, const char* texto) {
  std::memset(campo, 0, room);
  if (texto != nullptr) std::memcpy(campo, texto, strnlen(texto, room));
}

void PreparaSpool(void*) {
  NV_CriaDiretorio(kDirSpool, true);
  PreencheCampo(g_trace.origem, sizeof g_trace.origem, kOrigemPadrao);
}

// Creates the temporary file of one line.  A spool directory removed while
// the process runs is made again once, rather than losing every later line.
int CriaTemporario(NV_Arquivo* f, char* nome, size_t room) {
  int rc = NV_ArquivoTemporario(kDirSpool, "arq_", 6, ".tmp", f, nome, room);
  if (rc == NV_ENOENT && NV_CriaDiretorio(kDirSpool, true) == NV_OK)
    rc = NV_ArquivoTemporario(kDirSpool, "arq_", 6, ".tmp", f, nome, room);
  return rc;
}

// Writes one line as a new spool file: a temporary file with the record,
// renamed without replacement to the first free "arq_NNNN.msg".  Two writers
// at once each rename their own file, so they never share a number.
void EscreveLinhaSpool(const char* texto) {
  NV_OnceRun(&g_trace.preparo_spool, PreparaSpool, nullptr);
  RegistroSpool reg;
  std::memcpy(reg.origem, g_trace.origem, sizeof reg.origem);
  PreencheCampo(reg.texto, sizeof reg.texto, texto);

  // The temporary file's name comes back spelled from the spool directory,
  // like every path handed to the run-time here.
  NV_Arquivo f;
  char temporario[64];
  if (CriaTemporario(&f, temporario, sizeof temporario) != NV_OK) return;
  size_t escritos = 0;
  const bool gravado = NV_FileWrite(&f, &reg, sizeof reg, &escritos) == NV_OK && escritos == sizeof reg;
  const bool fechado = NV_FileClose(&f) == NV_OK;
  if (gravado && fechado) {
    for (int n = 0; n < kNumerosSpool; ++n) {
      char final_[32];
      std::snprintf(final_, sizeof final_, "%s/arq_%04d.msg", kDirSpool, n);
      const int rc = NV_Renomeia(temporario, final_, NV_RENOMEIA_NAO_SUBSTITUI);
      if (rc == NV_OK) return;
      if (rc != NV_EEXIST) break;  // not a taken name: no other name would do
    }
  }
  NV_Remove(temporario, true);
}

int TrataMensagem(const NV_TraceVar* var) {
  const auto* m = reinterpret_cast<const NV_TraceVarMensagem*>(var);
  if (g_trace.mensagens_no_console.load(std::memory_order_relaxed)) {
    std::fprintf(stderr, "%.256s\n", m->texto);
    return NV_OK;
  }
  EscreveLinhaSpool(m->texto);
  return NV_OK;
}

int TrataAudit(const NV_TraceVar* var) {
  // The audit writer belongs to the audit unit, which installs it when it
  // opens the trail.  Until it does, the record is dropped here.
  GravadorAudit g = g_trace.gravador.load(std::memory_order_acquire);
  if (g == nullptr) return NV_OK;
  g(reinterpret_cast<const NV_TraceVarAudit*>(var));
  return NV_OK;
}

struct RotaTrace {
  const char* contexto;
  const char* tipo_var;
  int (*trata)(const NV_TraceVar* var);
};

constexpr RotaTrace kRotas[] = {
    {kCtxMensagem, kVarMensagem, TrataMensagem},
    {kCtxAudit, kVarAudit, TrataAudit},
};

int TratadorPadrao(const NV_TraceRegistro* reg) {
  if (reg->contexto != nullptr && reg->vars != nullptr && reg->vars->tipo != nullptr) {
    for (const RotaTrace& r : kRotas)
      if (std::strcmp(reg->contexto, r.contexto) == 0 && std::strcmp(reg->vars->tipo, r.tipo_var) == 0)
        return r.trata(reg->vars);
  }
  // Any other record: only the error output is defined for it, and only
  // when its threshold admits the record's level.
  if (g_trace.limiar_erro >= reg->nivel)
    std::fprintf(stderr, "%s: %s\n", reg->contexto != nullptr ? reg->contexto : "",
                 reg->mensagem != nullptr ? reg->mensagem : "");
  return NV_OK;
}

void InstalaTratador(void*) { NV_InstalaTratadorTrace(TratadorPadrao); }

void Prepara() { NV_OnceRun(&g_trace.preparo, InstalaTratador, nullptr); }

}  // namespace

void EscreveMensagem(const char* texto) {
  Prepara();
  NV_TraceVarMensagem var{{kVarMensagem, nullptr}, texto != nullptr ? texto : ""};
  NV_TraceRegistro reg{kTipoRegistro, kCtxMensagem, kNivelMensagem, nullptr, nullptr, 0, &var.var};
  RegistraTrace(&reg);
}

void EscreveMensagemF(const char* formato, ...) {
  if (formato == nullptr) return;
  char linha[kTamLinhaFormatada];
  va_list ap;
  va_start(ap, formato);
  const int n = std::vsnprintf(linha, sizeof linha, formato, ap);
  va_end(ap);
  if (n < 0) return;
  EscreveMensagem(linha);
}

void GravaAudit(uint8_t tipo, const void* dados, size_t tam, const MascaraAudit* mascaras,
                int num_mascaras, const char* arquivo, int linha) {
  Prepara();
  NV_TraceVarAudit var{{kVarAudit, nullptr}, tipo, dados, tam, mascaras, num_mascaras, linha, arquivo};
  NV_TraceRegistro reg{kTipoRegistro, kCtxAudit, kNivelMensagem, nullptr, arquivo, linha, &var.var};
  RegistraTrace(&reg);
}

void InstalaGravadorAudit(GravadorAudit gravador) {
  g_trace.gravador.store(gravador, std::memory_order_release);
}

void MensagensNoConsole(bool ligado) {
  g_trace.mensagens_no_console.store(ligado, std::memory_order_relaxed);
}

void ReiniciaTrace() {
  NV_TraceReinicia();
  g_trace.preparo = NV_ONCE_INIT;
  g_trace.preparo_spool = NV_ONCE_INIT;
  std::memset(g_trace.origem, 0, sizeof g_trace.origem);
  g_trace.gravador.store(nullptr, std::memory_order_release);
  g_trace.mensagens_no_console.store(false, std::memory_order_relaxed);
}
