// The module core's process-wide records and their reset.
#include "kovtiquetal/registros.h"

#include <cstring>

EstadoRegistros Registros{};

DadosTransacaoPdv& TransacaoPdv = Registros.transacao;
RegistroEmpresa*& EmpresaAtual = Registros.empresa_atual;
RegistroLog& RegLog = Registros.log.atual;
RegistroLogSecundario& RegLogSec = Registros.log.atual_sec;
RegistroLog& RegLog2 = Registros.log.segundo;
RegistroLogSecundario& RegLog2Sec = Registros.log.segundo_sec;

void LimpaTransacaoPdv() { std::memset(&Registros.transacao, 0, sizeof Registros.transacao); }

void LimpaRegistrosLog() {
  std::memset(&Registros.log.atual, 0, sizeof Registros.log.atual);
  std::memset(&Registros.log.atual_sec, 0, sizeof Registros.log.atual_sec);
}

void ReiniciaRegistros() {
  LimpaTransacaoPdv();
  std::memset(&Registros.log, 0, sizeof Registros.log);
  Registros.empresa_atual = nullptr;
}
