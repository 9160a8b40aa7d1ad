// The PDV link's process-wide state, shared by its units.  Internal to
// basico.
#pragma once
#include <atomic>

#include "basico/interpdv.h"
#include "basico/intercom_filas.h"
#include "biblkovra/msgqueue.h"
#include "nvpr/nv_process.h"

struct EstadoInterPdv {
  char nome_leitura[kTamNomeFilaRede] = {};   // requests ("pdvwr.")
  char nome_escrita[kTamNomeFilaRede] = {};   // replies ("pdvrd.")
  NV_MsgQueue* leitor = nullptr;   // used by the reading thread only
  NV_MsgQueue* escritor = nullptr; // under mutex_escrita
  bool quebrado = true;            // open the reply queue again before writing
  bool console = false;            // KOVTRACE is exactly "ON"
  std::atomic<bool> audit_completo{false};
  std::atomic<SumidouroRespostaPdv> sumidouro{nullptr};
  int tentativas = kTentativasRespostaPdv;
  int intervalo_ms = kIntervaloPdvMs;
};

extern EstadoInterPdv g_interpdv;
// Serialises every write of a reply (and the reopening of its queue).
extern NV_Mutex g_mutex_escrita_pdv;

// Ends the process at once: the line on the error output and in the
// message log.
[[noreturn]] void FalhaFatalPdv(const char* texto);
