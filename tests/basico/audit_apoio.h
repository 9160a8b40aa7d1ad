// Shared set-up of the audit and mirror tests: a temporary drive with the
// audit key file (owner-only), TZ set to UTC, the clock frozen at a chosen
// local time, and every writer, cache and trace reset before and after.
// Also the helpers that read back what the writers left on the drive.
#pragma once
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "basico/rot_arqs_cifra.h"
#include "basico/rot_arqs_leitor.h"
#include "support/drive.h"

// The key of the tests (the shipped test key is another one).
inline constexpr const char* kChaveTesteHex = "000102030405060708090a0b0c0d0e0f";

// One record as the reader handed it over, kept past the visit.
struct AuditLido {
  int estado = 0;
  std::string hora;
  int tipo = 0;
  std::string dados;
  int64_t posicao = 0;
  int64_t bytes = 0;
};

class AuditTeste : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Freezes the wall clock at a local (UTC) date and time.
  void Relogio(int ano, int mes, int dia, int hora, int minuto, int segundo);
  void Avanca(int64_t segundos);
  // Writes the key file with the given mode.
  void EscreveChave(const std::string& hex, int modo);
  // The names of the files in a directory of the drive, sorted.
  std::vector<std::string> Arquivos(const std::string& dir_rel) const;
  // Every record of an audit file (path relative to the drive root).
  std::vector<AuditLido> Le(const std::string& rel, const std::string& hex = kChaveTesteHex,
                            ResumoLeituraAudit* resumo = nullptr) const;
  std::string Absoluto(const std::string& rel) const { return drive_->caminho(rel); }

  std::unique_ptr<DriveTemp> drive_;
 private:
  std::string tz_antigo_;
  bool tinha_tz_ = false;
};

// A record through the trace dispatcher, as the module's units write one.
void GravaTexto(uint8_t tipo, const std::string& texto, const char* arquivo = nullptr,
                int linha = 0);
// Runs `f` while no file of the process may grow past `limite` bytes (a
// disk that fills up); returns what f returned.
template <class F>
int ComDiscoCheio(size_t limite, F f) {
  rlimit antigo{};
  getrlimit(RLIMIT_FSIZE, &antigo);
  auto sinal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit novo = antigo;
  novo.rlim_cur = static_cast<rlim_t>(limite);
  setrlimit(RLIMIT_FSIZE, &novo);
  const int rc = f();
  setrlimit(RLIMIT_FSIZE, &antigo);
  std::signal(SIGXFSZ, sinal);
  return rc;
}

// Whether `agulha` occurs anywhere in the bytes.
bool Contem(const std::string& palheiro, const std::string& agulha);
