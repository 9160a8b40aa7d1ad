// Entry points of flows that are built in later steps of the module.  Each
// keeps the process and the dispatch whole in the meantime and answers
// nothing; each is removed when its flow lands.
#include "kovtiquetal/fluxos.h"

// The pending-request table comes with the company initialisation flow.
void LimpaTabPendentes() {}
// The company table comes with the company registry.
void LimpaTabEmpresas() {}

// The terminal open and range-list flow comes later.
void AbreTerminal() {}
// The transaction request flow comes later.
void TrataTransacao() {}
// The timeout table comes later; until then nothing waits for the host.
void ResolveAnteriorDoTerminal() {}

// The confirmation, non-confirmation and undo flows come later.
void DesfazUltima() {}
void ConfirmaTransacao() {}
void NaoConfirmaTransacao() {}
void ConfirmaPorDocumento() {}
void DesfazPorDocumento() {}

// The timeout scan and the daily task come with the timeout table.
void VerificaTimeouts() {}
void VerificaNovoDia() {}

// Host-response processing comes later; the message is dropped.
void leresp() {}

// The key store comes later; until then the master key counts as not
// verified, so no activation banner claims a valid key.
int IniciaChaves(int) { return -2; }
