// The stand-ins of kovsim.  Each takes the arguments after its own name
// (argv[0] is the stand-in) and returns the process exit status: 0 done, 1
// fewer messages than --count came in time or a queue could not be had, 2
// bad arguments (after a one-line reason on standard error).
#pragma once

using FuncaoComando = int (*)(int argc, char** argv);

struct ComandoKovsim {
  const char* nome;
  FuncaoComando funcao;
  const char* uso;
};

// One line "kovsim: <reason>" on standard error; returns 2.
int ErroUso(const char* formato, ...) __attribute__((format(printf, 1, 2)));
// One line "kovsim: <reason>" on standard error; returns 1.
int Falha(const char* formato, ...) __attribute__((format(printf, 1, 2)));

int CmdPdv(int argc, char** argv);
int CmdDrivers(int argc, char** argv);
