// Masking of card data in audit records, applied to the writer's own copy of
// the data before it is enciphered: the caller's masking list; the scans
// that find a track 2 or a track 1 inside a message and hide the middle of
// its card number, its discretionary data and part of the holder's name;
// and the card number and acquirer code in fields 2, 32 and 55 of a host
// message.
#pragma once
#include <cstddef>
#include <cstdint>
#include "nvpr/nv_trace.h"   // MascaraAudit

// Fills with '*' every entry of the list with a length above 0 whose start
// lies inside the data; an entry that runs past the end is masked up to the
// end, so a list built against a longer message still hides what it can.
void AplicaMascarasAudit(uint8_t* dados, size_t tam, const MascaraAudit* lista, int num);

// The track 2 scan: at the first '=' from position 10 on that has six digits
// ten to five characters before it, the card number before the '=' keeps
// only its first six and last four digits (any length from 13 to 19; when
// the length of an ISO 8583 field 35 stands in front of it, that length
// tells where the number starts), and the six characters 8 to 13 after the
// '=' become '*'.  A 16-digit number has the six digits ten to five before
// the '=' hidden.
void MascaraTrilha2Audit(uint8_t* dados, size_t tam);

// The track 1 scan: at the first '^' from position 10 on whose six preceding
// characters are digits or spaces, the card number before it is hidden: after
// the format code "B", all but the first six and last four of its 13 to 19
// digits; otherwise the six characters ten to five before the '^'.  Of the
// c characters of the name that follow, up to the next '^', c/2 starting
// (c/4)*3 before that '^' become 'n'.
void MascaraTrilha1Audit(uint8_t* dados, size_t tam);

// The card fields of a host message (ISO 8583 in characters: type, bitmaps,
// then the fields in order) that starts at `inicio`: the card number of
// field 2 keeps only its first six and last four digits (all of it is
// hidden when it has ten or fewer), and the acquirer code of field 32, made
// of the card's first 11 digits, only its first six; the same digits
// further on (in the original data of field 90) are hidden the same way.
// In the chip data objects of field 55, the card number of the objects 5A,
// 57 and 9F6B keeps its first six and last four digits, and of a track
// (57, 9F6B) the six characters 8 to 13 after its separator are hidden.
// Data that is no such message is left as it is.
void MascaraCamposHostAudit(uint8_t* dados, size_t tam, size_t inicio);

// Whether records of this kind carry whole messages that may hold a track
// (PDV requests, host messages sent and host envelopes received).
bool TipoAuditComTrilhas(uint8_t tipo);
// Where the host message starts in a record of this kind: 0 in a message
// sent (51), 9 after the link envelope (52); -1 for other kinds.
int InicioMensagemHostAudit(uint8_t tipo);
