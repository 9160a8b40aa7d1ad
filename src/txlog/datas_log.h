// The dates of the transaction log: which year an MMDD argument means, the
// day an NSU tells, calendar steps back for the recovery, and the check of
// "DataInicio".  Dates are integers YYYYMMDD.
#pragma once
#include "nvpr/nv_time.h"

inline int DataDe(const NV_DataHora& dh) { return dh.ano * 10000 + dh.mes * 100 + dh.dia; }
inline int MesDe(int data) { return data / 100 % 100; }
inline int DiaDe(int data) { return data % 100; }
inline int AnoDe(int data) { return data / 10000; }

// MM and DD of four digits, MM 1 to 12 and DD 1 to 31; false otherwise.
bool LeMMDD(const char* mmdd, int* mes, int* dia);

// The date of an MMDD argument of LeLog and RegravaLog: this year, except
// that January asked in December is next year's and a month after the
// current one is last year's.  0, or 22 for a bad MMDD.
int DataDoArgumento(const char* mmdd, const NV_DataHora& hoje, int* data);

// The date of a day of month told by an NSU: in the current month, or in
// the previous one when the day is later than today's.
int DataDoDiaNsu(int dia, const NV_DataHora& hoje);

// The date of a scan's MMDD: this year when the current month is MM or
// later, else last year.  0, or 22 for a bad MMDD.
int DataDaVarredura(const char* mmdd, const NV_DataHora& hoje, int* data);

// The date `dias` calendar days before `data`.
int DataMenosDias(int data, int dias);

// "DataInicio" DDMMYYYY: eight digits, month 1 to 12, day 1 to the month's
// length (February always 29), year 2002 or later.  True and *data as
// YYYYMMDD when valid.
bool DataInicioValida(const char* ddmmaaaa, int* data);
