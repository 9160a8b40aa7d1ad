// Builders shared by the sale, cancellation, authorisation and table-load
// requests: the secondary bitmap, the placeholders that GravaLog fills, the
// declined field 104, the terminal, the establishment code and the single
// zero byte of field 64.
#include <cstring>

#include "hostmsg/builders.h"
#include "hostmsg/builders_util.h"
#include "hostmsg/consistencia.h"
#include "hostmsg/resultados.h"
#include "kovtiquetal/empresa.h"
#include "kovtiquetal/registros_log.h"

int CampoBitmapSecundario(const Campo&) {
  if (ReservaBitmapSecundario() == 0) return RES_MONTADA;
  ErroConsistencia("TAMANHO ERRADO", 0, nullptr);
  return RES_TAMANHO_ERRADO;
}

// Fields 7, 11, 12 and 13 go out as zeros; GravaLog later writes the date,
// time and NSU of the transaction at the recorded positions.
int CampoMarcador(const Campo& c) {
  RegistraPosicao(c.numero);
  return MontaCampo("0", 1, c);
}

int CampoDeclinado(const Campo& c) { return Declina(c); }

// The terminal of the PDV request header, which the flow copied into the
// current record before the build.
int CampoTerminal(const Campo& c) {
  return EnviaEGuarda(c, RegLog.Terminal, strnlen(RegLog.Terminal, 8), RegLog.Terminal);
}

// The company's establishment code, 15 characters (15 spaces when empty).
int CampoEstabelecimento(const Campo& c) {
  char codigo[16];
  std::memset(codigo, ' ', 15);
  codigo[15] = 0;
  if (EmpresaAtual != nullptr && EmpresaAtual->Estab != nullptr) {
    const char* e = EmpresaAtual->Estab->CodigoEstabelecimento;
    std::memcpy(codigo, e, strnlen(e, 15));
  }
  return EnviaEGuarda(c, codigo, 15, RegLog.Estabelecimento);
}

int CampoByteZero(const Campo& c) {
  static constexpr unsigned char kZero = '0';
  return MontaCampo(&kZero, 1, c);
}
