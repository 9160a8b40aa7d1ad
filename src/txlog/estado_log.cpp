// The one instance of the transaction log's state and its reset.
#include "txlog/estado_log.h"

EstadoLog g_log;
NV_Mutex g_mutex_log;

void ReiniciaLog() {
  NV_Trava trava(&g_mutex_log);
  g_log = EstadoLog{};   // closes every file of the open-file table
}
