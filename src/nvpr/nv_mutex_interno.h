// Run-time internal: release and retake every level of a recursive
// NV_Mutex held by the calling thread (used by the condition variables).
#pragma once
#include "nvpr/nv_process.h"

// 0 and the number of levels released; 1 when the caller does not hold it.
int NV_MutexLiberaTudo(NV_Mutex* mx, int* niveis);
void NV_MutexRetoma(NV_Mutex* mx, int niveis);
