// The files of a (company, terminal, date): their directory and names under
// the configured kind of log, opening them (or creating a day's files), and
// the open-file table that keeps them open, searched by halving.  Internal
// to the library; every call is made with g_mutex_log held, except
// AbreArquivosLog for the scans, which own their handles.
#pragma once
#include <cstddef>
#include <cstdint>

#include "txlog/estado_log.h"

// The table key of a company and terminal on a date: the company (8
// characters) when the date is per company, else "00000000"; the terminal
// when per terminal, else empty.  0, -1001 for a per-terminal log without a
// terminal, or -22 for a code that cannot name a directory.
int ChaveArquivosLog(const char* empresa, const char* terminal, int data, char emp[9],
                     char term[9]);

// Whether the date's files lie under "empresas" and the company code.
bool DataPorEmpresa(int data);

// The directory of a key (room bytes).
int DiretorioLog(const char* emp, const char* term, int data, char* dir, size_t room);

// Opens the primary and secondary files of a key.  With `cria` (GravaLog)
// the directory and the day's files are created when missing, and
// transient failures are retried; otherwise a missing or short primary file
// fails at once.  0 or the negative of the file error.
int AbreArquivosLog(const char* emp, const char* term, int data, bool cria, NV_Arquivo* principal,
                    NV_Arquivo* secundario, bool* tem_secundario);

// The open-file table entry of (company, terminal, date), opening the files
// when the table has none.  0 or as ChaveArquivosLog and AbreArquivosLog.
int ArquivosDaData(const char* empresa, const char* terminal, int data, bool cria, int64_t agora,
                   ArquivoAbertoLog** entrada);

// Closes and removes every entry dated on or before `data` (day change).
void FechaArquivosAte(int data);
