// The subcommands of kovtool.  Each takes the arguments after its own name
// (argv[0] is the subcommand) and returns the process exit status: 0 done,
// 1 the answer is "no" or the operation failed, 2 bad arguments (after a
// one-line reason on standard error).
#pragma once

using FuncaoComando = int (*)(int argc, char** argv);

struct ComandoKovtool {
  const char* nome;
  FuncaoComando funcao;
  const char* uso;
};

// One line "kovtool: <reason>" on standard error; returns 2.
int ErroUso(const char* formato, ...) __attribute__((format(printf, 1, 2)));

// Defined in the cmd_*.cpp files.
int CmdExtenso(int argc, char** argv);
int CmdValor(int argc, char** argv);
int CmdPath(int argc, char** argv);
int CmdErro(int argc, char** argv);
int CmdMsglog(int argc, char** argv);
int CmdProd(int argc, char** argv);
int CmdBandeira(int argc, char** argv);
int CmdMultibandeira(int argc, char** argv);
int CmdLink(int argc, char** argv);
int CmdAudit(int argc, char** argv);
int CmdMirror(int argc, char** argv);
int CmdIso(int argc, char** argv);
int CmdIni(int argc, char** argv);
int CmdLog(int argc, char** argv);
