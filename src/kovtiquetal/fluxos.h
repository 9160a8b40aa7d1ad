// The operations of the module's flows that the process and the dispatch
// call.  FechaTerminal is here; the others belong to the flows that follow
// (company registry, transactions, confirmation and undo, timeout table,
// host responses, keys), each answering as its own unit says.
#pragma once

// Start-up: the pending-request table (200 slots) and the company table
// (2000 slots) empty.
void LimpaTabPendentes();
void LimpaTabEmpresas();

// Type 1: terminal open and the range-list request (sub-types 1 and 3),
// terminal close (2 replied, 4 not), any other sub-type as a transaction
// request (the card query 21 and the fuel dialogue 23 are told apart there,
// once the company is known).
void AbreTerminal();
void FechaTerminal();
void TrataTransacao();
// Before any type-1 request: an older waiting transaction of the same
// terminal and company is settled.
void ResolveAnteriorDoTerminal();

// Types 2, 128, 129, 134 and 135.
void DesfazUltima();
void ConfirmaTransacao();
void NaoConfirmaTransacao();
void ConfirmaPorDocumento();
void DesfazPorDocumento();

// The tick's tasks, in this order.
void VerificaTimeouts();
void VerificaNovoDia();

// Host-response processing of the message in MsgResposta.
void leresp();

// The master key check: 0 production key valid, -3 another accepted key,
// -2 invalid.  The activation banner is written only for 0.
int IniciaChaves(int rede);
