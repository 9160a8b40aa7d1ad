// Shared helpers of the host-message tests: a fixture that starts every test
// from clean host-message state and clean module records with a company
// whose establishment code is known, building a request and splitting it
// back into its fields with the module's own codec, and the console lines a
// build prints.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "kovtiquetal/empresa.h"

// Field number -> characters as on the wire.
using Campos = std::map<int, std::string>;

// Splits a raw message; fails the test when it is invalid.
Campos Separa(const std::string& msg, std::string* tipo = nullptr, std::string* bitmap = nullptr);

// Freezes the local wall clock.
void FixaRelogio(int ano, int mes, int dia, int hora = 10, int minuto = 0, int segundo = 0);

class HostMsgTeste : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // montamsg / montaconfirmacao into the fixture's 4096-byte buffer; the
  // built message (when the result is 0) into msg_.
  int Monta(int modo, const char* chave);
  int MontaConfirmacao();
  // The fields of the last message built.
  Campos CamposMontados() { return Separa(msg_); }

  // A stripe sale of the company (code "0"), ready to build.
  void PreparaVendaTarja();

  RegistroEmpresa empresa_;
  char buffer_[4096];
  std::string msg_;
  std::string console_;   // what the last build printed on standard output
};
