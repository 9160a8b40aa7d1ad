// Running a real program from a test: its exit status and everything it
// wrote on standard output and standard error, read in full.  The child
// inherits the environment (KOVRA_DRIVE of a DriveTemp) and the working
// directory, and reads /dev/null as its input.
#pragma once
#include <string>
#include <vector>

struct SaidaProcesso {
  int status;        // exit status; 128 + signal when killed; -1 when it did not start
  std::string out;   // standard output
  std::string err;   // standard error
};

// Runs argv[0] (a path, not looked up in PATH) with the given arguments,
// no shell in between.
SaidaProcesso ExecutaProcesso(const std::vector<std::string>& argv);

// Runs a command line through /bin/sh -c, for arguments written with shell
// quoting.
SaidaProcesso ExecutaShell(const std::string& linha);
