// The fixture of the transaction log tests: a temporary drive root, a clean
// ini cache, trace and log, a frozen clock, the log's configuration files,
// and helpers that build records and read the spooled message-log lines.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/drive.h"
#include "txlog/estado_log.h"
#include "txlog/txlog.h"

class LogTeste : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Freezes the wall clock at a local date and time.
  static void FixaData(int ano, int mes, int dia, int hora = 10, int minuto = 0, int segundo = 0);
  // Writes "kovra/config/conflog.ini" (and, when given, kovracfg.ini).
  void Configura(const std::string& conflog, const std::string& kovracfg = "");
  // DefineLog with the module's definition, then short retry waits.
  int Define();

  // A sale record of the module: Rede 77, CodTrn '0', state 1.
  static RegistroLog Venda(const char* cartao = "4761739001010010", const char* valor = "1500");
  static RegistroLogSecundario Frota(const char* campo1 = "PLACA ABC1234");
  // GravaLog of the company with the NSU into the record and into *nsu.
  int Grava(RegistroLog* r, RegistroLogSecundario* s, std::string* nsu,
            const char* empresa = "00000001");

  // The message-log lines spooled so far, oldest first.
  std::vector<std::string> Mensagens() const;
  bool TemMensagem(const std::string& texto) const;
  // The bytes of a file under the drive root.
  std::string Bytes(const std::string& rel) const { return drive_.le(rel); }

  DriveTemp drive_;
};
