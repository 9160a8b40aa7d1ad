// Console debug output and the fatal stops.  The console trace switch is
// one process-wide flag (set from KOVTRACE by basico/rot_aux); while it is
// off Depura and DepuraHex write nothing.  Each debug line goes to standard
// error in one write, so lines of different threads do not mix.
#include "services/depura.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "services/trace.h"

namespace {

struct EstadoDepura {
  std::atomic<bool> console_ligado{false};
};
EstadoDepura g_depura;

constexpr const char* kMensagensFatais[] = {
    "ERRO: Open do arquivo de log de transacoes",
    "ERRO: Criacao do arquivo de log de transacoes",
    "ERRO: Leitura do arquivo de log de transacoes",
    "ERRO: Gravacao do arquivo de log de transacoes",
    "ERRO: Alteracao do arquivo de log de transacoes",
    "ERRO: Close do arquivo de log de transacoes",
    "ERRO: Open do arquivo de erros",
    "ERRO: Gravacao do arquivo de erros",
    "ERRO: Criacao do Semaforo",
};

// Layout of a DepuraHex line (columns counted from 0).
constexpr int kLarguraLinhaHex = 79;
constexpr int kColunaHex = 12;
constexpr int kColunaTraco = 23;
constexpr int kColunaCaracteres = 60;
constexpr size_t kBytesPorLinha = 16;

// The console line where the fatal notice is shown.
constexpr unsigned kLinhaAviso = 22;

void LimpaLinhaAviso() {
  std::printf("\033[%u;%uH", kLinhaAviso, 0u);
  std::printf("%80s", "");
}

}  // namespace

bool TraceConsoleLigado() { return g_depura.console_ligado.load(std::memory_order_relaxed); }

void DefineTraceConsole(bool ligado) { g_depura.console_ligado.store(ligado, std::memory_order_relaxed); }

void Depura(const char* formato, ...) {
  if (!TraceConsoleLigado() || formato == nullptr) return;
  char curto[512];
  va_list ap;
  va_start(ap, formato);
  va_list ap2;
  va_copy(ap2, ap);
  const int n = std::vsnprintf(curto, sizeof curto - 1, formato, ap);
  va_end(ap);
  if (n < 0) {
    va_end(ap2);
    return;
  }
  if (static_cast<size_t>(n) < sizeof curto - 1) {
    curto[n] = '\n';
    std::fwrite(curto, 1, static_cast<size_t>(n) + 1, stderr);
  } else {
    // A long line (a whole message dump, say) is formatted in full.
    std::string longo(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(longo.data(), longo.size(), formato, ap2);
    longo[static_cast<size_t>(n)] = '\n';
    std::fwrite(longo.data(), 1, longo.size(), stderr);
  }
  va_end(ap2);
}

void DepuraHex(const void* dados, size_t tam, const char* titulo) {
  if (!TraceConsoleLigado()) return;
  if (titulo != nullptr) Depura("%s - tam:%u", titulo, static_cast<unsigned>(tam));
  if (dados == nullptr) return;
  static constexpr char kHex[] = "0123456789abcdef";
  const auto* p = static_cast<const unsigned char*>(dados);
  for (size_t ini = 0; ini < tam; ini += kBytesPorLinha) {
    char linha[kLarguraLinhaHex + 1];
    for (int c = 0; c < kLarguraLinhaHex; ++c) linha[c] = ' ';
    linha[kLarguraLinhaHex] = '\0';
    const size_t n = tam - ini < kBytesPorLinha ? tam - ini : kBytesPorLinha;
    for (size_t i = 0; i < n; ++i) {
      const unsigned char b = p[ini + i];
      const size_t col = kColunaHex + 3 * i;
      linha[col] = kHex[b >> 4];
      linha[col + 1] = kHex[b & 0x0f];
      if (i == 3) linha[kColunaTraco] = '-';
      linha[kColunaCaracteres + i] = (b < 32 || b > 125) ? '.' : static_cast<char>(b);
    }
    Depura("%s", linha);
  }
}

const char* MensagemParadaFatal(int codigo) {
  if (codigo < 1 || codigo > 9) return nullptr;
  return kMensagensFatais[codigo - 1];
}

void ParadaFatal(int codigo) {
  const char* msg = MensagemParadaFatal(codigo);
  if (msg == nullptr) return;
  if (TraceConsoleLigado()) {
    LimpaLinhaAviso();
    std::printf("\033[%u;%uH", kLinhaAviso, 1u);
    std::printf(">> ERRO: %s. Digite Enter.", msg);
    std::fflush(stdout);
    LimpaLinhaAviso();
  }
  EscreveMensagem(msg);
  // The spool line is already on disk.  Other threads may be inside the
  // global lock, so the process ends at once without running destructors
  // under them; the standard streams are flushed by hand.
  std::fflush(nullptr);
  std::_Exit(codigo);
}
