// Masking of card data in audit records, applied to the writer's own copy of
// the data before it is enciphered: the caller's masking list, and the scans
// that find a track 2 or a track 1 inside a message and hide the middle of
// its card number, its discretionary data and part of the holder's name.
#pragma once
#include <cstddef>
#include <cstdint>
#include "nvpr/nv_trace.h"   // MascaraAudit

// Fills with '*' every entry of the list with a length above 0 whose start
// lies inside the data; an entry that runs past the end is masked up to the
// end, so a list built against a longer message still hides what it can.
void AplicaMascarasAudit(uint8_t* dados, size_t tam, const MascaraAudit* lista, int num);

// The track 2 scan: at the first '=' from position 10 on that has six digits
// ten to five characters before it, those six digits and the six characters
// 8 to 13 after the '=' become '*'.  A 16-digit card number keeps its first
// six and last four digits.
void MascaraTrilha2Audit(uint8_t* dados, size_t tam);

// The track 1 scan: at the first '^' from position 10 on whose six preceding
// characters are digits or spaces, the six characters ten to five before it
// become '*'; of the c characters of the name that follow, up to the next
// '^', c/2 starting (c/4)*3 before that '^' become 'n'.
void MascaraTrilha1Audit(uint8_t* dados, size_t tam);

// Whether records of this kind carry whole messages that may hold a track
// (PDV requests, host messages sent and host envelopes received).
bool TipoAuditComTrilhas(uint8_t tipo);
