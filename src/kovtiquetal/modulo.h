// The module process's own state: the global lock under which all business
// processing runs, the PDV message being processed and the reply buffer,
// the host receive buffer, today's date text, the brand-table switch, the
// table-load block setting with its tick counter, and the day-change
// banner.  One structure with an explicit reset, guarded by MutexGlobal.
#pragma once
#include <cstddef>
#include <cstdint>

#include "basico/intercom_rede.h"   // CodigoRede
#include "kovtiquetal/msg_pdv.h"
#include "nvpr/nv_process.h"

inline constexpr size_t kTamBufferHost = 2048;
inline constexpr size_t kTamDataHoje = 9;        // "%m/%d/%y" and its zero
inline constexpr size_t kTamTextoNovoDia = 128;
inline constexpr int kIntervaloTickMs = 1000;
inline constexpr int kTicksEntreReleituras = 60; // re-read when the count passes this
inline constexpr const char* kArqConfigModulo = "../config/kovracfg.ini";

struct EstadoModulo {
  uint8_t recebido_pdv[kTamMsgPdv];     // RxPdv's read buffer, outside the lock
  uint8_t msg_pdv[kTamMsgPdv];          // the current PDV message
  uint16_t tam_msg_pdv;
  uint8_t resposta_pdv[kTamMsgPdv];     // the reply buffer
  uint8_t recebido_host[kTamBufferHost];// RxHost's read buffer
  uint16_t tam_host;
  char data_hoje[kTamDataHoje];
  bool bandeiras_habilitadas;
  int bloqueio_carga_tabela;            // BloqueioDaCargaTabela
  int contador_ticks;
  char texto_novo_dia[kTamTextoNovoDia];// TextoNovoDia
};

extern EstadoModulo Modulo;
// The one lock of all business processing (ticks, PDV and host messages).
extern NV_Mutex MutexGlobal;

// Names the flows use.
extern uint8_t (&MsgPdv)[kTamMsgPdv];
extern uint16_t& TamMsgPdv;
extern uint8_t (&RespostaPdv)[kTamMsgPdv];
extern int& BloqueioDaCargaTabela;
extern char (&TextoNovoDia)[kTamTextoNovoDia];

// Refreshes today's date text ("%m/%d/%y").
void AtualizaDataHoje();

// Clears the whole state (start-up and tests).
void ReiniciaModulo();
