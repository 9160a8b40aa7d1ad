// Helpers of the end-to-end tests: child processes started on the test's
// drive (working directory <drive>/kovra/bin, output to files), waits that
// poll with generous bounds, and the message-log lines of the drive.
#pragma once
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive.h"

// A process started with argv, the test's environment plus `ambiente`
// ("NAME=value"), its standard output and error in files.  Killed at the
// end of the test if it still runs.
class ProcessoFilho {
 public:
  ProcessoFilho(const std::vector<std::string>& argv, const std::vector<std::string>& ambiente,
                const std::string& saida, const std::string& erro);
  ~ProcessoFilho();
  ProcessoFilho(const ProcessoFilho&) = delete;
  ProcessoFilho& operator=(const ProcessoFilho&) = delete;

  // Waits up to ms for the end: true with the wait status.
  bool Espera(int ms, int* status);
  void Sinal(int sinal);

 private:
  pid_t pid_ = -1;
};

// Polls `condicao` every 20 ms for up to ms: whether it became true.
bool EsperaAte(const std::function<bool()>& condicao, int ms);

class E2eTeste : public ::testing::Test {
 protected:
  // The module, with KOVTRACE=ON, its output in saida/modulo.out and .err.
  std::unique_ptr<ProcessoFilho> IniciaModulo();
  // kovsim with these arguments, its output in saida/<nome>.out and .err.
  std::unique_ptr<ProcessoFilho> IniciaKovsim(const std::string& nome,
                                              const std::vector<std::string>& args);
  // Runs kovsim to its end (at most 60 s): its exit status, or -1.
  int ExecutaKovsim(const std::string& nome, const std::vector<std::string>& args);
  std::string Saida(const std::string& arquivo) const { return drive_.le("saida/" + arquivo); }
  int ContaLinhasMensagem(const std::string& trecho) const;
  // Sends SIGTERM and expects the orderly end with status 0.
  void ParaModulo(ProcessoFilho* modulo);

  DriveTemp drive_;
};

std::string HexMinusculo(const std::vector<unsigned char>& b);

// A PDV request of terminal "T0000001", reply queue "001", company
// "00000001": the 30-byte header and its data.
std::vector<unsigned char> PedidoPdv(unsigned char tipo, unsigned char subtipo,
                                     const std::string& dados = "");
