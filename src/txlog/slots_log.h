// Slot input and output on one log file: the lock on the file's first byte,
// the count of slots, the next free slot (padding a partial last slot),
// reading and writing one slot, zero extension, and the protected-area
// copies.  Internal to the library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "nvpr/nv_file.h"
#include "nvpr/nv_filelock.h"

// Takes the exclusive lock on the first byte, retried as configured.  0, or
// the run-time code of the last attempt (13 while another handle holds it).
int TravaPrimeiroByte(NV_Arquivo* f, NV_TravaRegiao* trava);

// The number of whole slots of `tam` bytes in the file.
int ContaSlots(NV_Arquivo* f, int tam, int64_t* slots);

// The slot a new record takes: the length divided by the record length,
// rounded up, after padding a partial last slot with zeros.
int ProximoSlotLivre(NV_Arquivo* f, int tam, int64_t* slot);

// Extends the file with zero bytes (32768 at a time) up to `tamanho`.
int EstendeComZeros(NV_Arquivo* f, int64_t tamanho);

// Reads slot `slot` into buf (cleared first).  0; 1 when the slot starts at
// or beyond the end of the file; NV_EIO when it is still short after the
// configured attempts (the buffer is cleared again); or the read error.
int LeSlot(NV_Arquivo* f, int64_t slot, int tam, void* buf);

// Writes the whole record into its slot (up to five failed writes) and
// flushes it to the disk.
int GravaSlot(NV_Arquivo* f, int64_t slot, int tam, const void* buf);

// The stored form of a record: a copy with the protected area scrambled.
void CopiaProtegida(const void* registro, int tam, int pos, int tam_prot, uint8_t* copia);
// Stores a record in its slot: its stored form goes to *guardado, then is
// written and flushed as GravaSlot does.
int GravaRegistro(NV_Arquivo* f, int64_t slot, int tam, int pos_prot, int tam_prot,
                  const void* registro, std::vector<uint8_t>* guardado);
// Unscrambles the protected area of a record read from the file.
void DesprotegeRegistro(void* registro, int pos, int tam_prot);
