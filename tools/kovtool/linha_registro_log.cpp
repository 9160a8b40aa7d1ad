// The one-line form of a stored primary log record, shared by the log and
// mirror readers of kovtool.
#include "linha_registro_log.h"

#include <cstdio>
#include <cstring>

#include "basico/rot_arqs_janela.h"
#include "txlog/protecao.h"

namespace {

// A text field up to its zero byte, escaped for the terminal.
std::string Texto(const char* p, size_t n) {
  std::string s;
  AnexaEscapado(&s, reinterpret_cast<const uint8_t*>(p), strnlen(p, n));
  return s;
}

}  // namespace

#define TXT(r, campo) Texto((r).campo, sizeof (r).campo).c_str()

std::string LinhaRegistroLog(const RegistroLog& r) {
  char cartao[sizeof r.Cartao + 1];
  CartaoMascarado(reinterpret_cast<const uint8_t*>(r.Cartao), sizeof r.Cartao, cartao,
                  sizeof cartao);
  char linha[512];
  std::snprintf(linha, sizeof linha, "%-6s %3u %3u %-8s %-8s %12s %-19s %-2s %-9s %-4s %-6s",
                TXT(r, Nsu), r.Estado, r.CodTrn, TXT(r, Empresa), TXT(r, Terminal), TXT(r, Valor),
                cartao, TXT(r, CodResposta), TXT(r, DocHost), TXT(r, Data), TXT(r, Hora));
  return linha;
}
