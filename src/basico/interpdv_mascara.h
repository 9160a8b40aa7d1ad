// Card numbers typed into PDV messages.  A PDV request may carry the card
// number as one of its strings, and a reply may repeat it, so every run of
// 13 to 19 consecutive ASCII digits in the data area of a PDV message (after
// its 30-byte header) is taken for a card number: it keeps its first six
// and last four digits, and the digits between are masked.  The audit
// records of PDV requests and replies, and the console dump of a wrong
// request, apply this rule.
#pragma once
#include <cstddef>
#include <cstdint>

#include "nvpr/nv_trace.h"   // MascaraAudit

// Room for the masking list of a message of tam bytes.
size_t MaxMascarasCartaoPdv(size_t tam);

// Fills lista (room max entries) with one entry per card number of the
// message: the position and length of its masked digits.  The count.
// Entries that a 16-bit position cannot address are left out (the audit
// refuses records that long anyway).
size_t MascarasCartaoPdv(const uint8_t* msg, size_t tam, MascaraAudit* lista, size_t max);

// Puts '*' over the masked digits of every card number of the message.
void OcultaCartoesPdv(uint8_t* msg, size_t tam);

// Records a PDV message in the audit trail (GravaAudit) with the masking
// list of its card numbers.
void GravaAuditPdv(uint8_t tipo, const uint8_t* msg, size_t tam, const char* arquivo, int linha);
