// Helpers of the PDV link and host link tests: a drive with every link
// state fresh, the audit records and message-log lines the links write, and
// bare Unix datagram sockets that play the switch's side of a queue so the
// framing on the wire is seen byte for byte.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/fila.h"

struct RegistroAuditCapturado {
  uint8_t tipo;
  Bytes dados;
};

class LinksTeste : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The message-log lines spooled so far, and how many contain `trecho`.
  std::vector<std::string> LinhasMensagem() const;
  int ContaLinhas(const std::string& trecho) const;
  // The audit records handed to the writer so far.
  static std::vector<RegistroAuditCapturado> Audit();

  DriveTemp drive_;
};

Bytes Embaralhado(Bytes b);
Bytes Desembaralhado(Bytes b);
Bytes Texto(const std::string& s);

// A bare socket bound at a queue's path (a stale file there is removed),
// playing the reader of that queue.
class LeitorCru {
 public:
  explicit LeitorCru(const char* nome);
  // The payload of the next datagram (checked to be one whole 250 segment),
  // waiting at most espera_ms; false when none came.
  bool Recebe(Bytes* carga, int espera_ms = 5000);
  void Fecha() { sock_.Fecha(); }   // the reader is gone; its file stays
 private:
  SocketCru sock_;
};

// Sends one datagram to a queue's path; false when no reader is there yet.
bool EnviaCru(const char* nome, const Bytes& datagrama);
// Sends, retrying for up to 5 s while the module has not created the queue.
void EnviaCruComEspera(const char* nome, const Bytes& datagrama);
