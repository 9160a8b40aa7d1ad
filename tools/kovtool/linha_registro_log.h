// The one-line form of a primary log record that the operator reads in
// `log dump` and in `mirror read`: NSU, state, transaction code, company,
// terminal, amount, card number (first six and last four digits only),
// response code, host document, date and time, in fixed columns.
#pragma once
#include <string>

#include "txlog/registro_log.h"

// `guardado` is the record as stored (card number scrambled).  Bytes that
// are not printable show as \xNN.
std::string LinhaRegistroLog(const RegistroLog& guardado);
