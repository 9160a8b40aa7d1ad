// The module process's state and its reset.
#include "kovtiquetal/modulo.h"

#include <cstring>

#include "nvpr/nv_time.h"

EstadoModulo Modulo{};
NV_Mutex MutexGlobal;

uint8_t (&MsgPdv)[kTamMsgPdv] = Modulo.msg_pdv;
uint16_t& TamMsgPdv = Modulo.tam_msg_pdv;
uint8_t (&RespostaPdv)[kTamMsgPdv] = Modulo.resposta_pdv;
int& BloqueioDaCargaTabela = Modulo.bloqueio_carga_tabela;
char (&TextoNovoDia)[kTamTextoNovoDia] = Modulo.texto_novo_dia;

void AtualizaDataHoje() {
  NV_FormataHoraLocal(Modulo.data_hoje, sizeof Modulo.data_hoje, "%m/%d/%y");
}

void ReiniciaModulo() { std::memset(&Modulo, 0, sizeof Modulo); }
