// kovtool mirror read FILE: every record of a mirror (export) file, one line
// each: the operation, network, local time of the mirror write, date,
// company and NSU, then the main fields of the primary log record (its card
// number unscrambled and masked to the first six and last four digits) and
// the size of the secondary ranges.  Damaged stretches are shown as such and
// the reading goes on; the exit status is then 1.
#include <cstdio>
#include <cstring>
#include <string>

#include <mbedtls/platform_util.h>

#include "basico/espelho_leitor.h"
#include "basico/rot_arqs_janela.h"
#include "comandos.h"
#include "nvpr/nv_error.h"
#include "txlog/protecao.h"
#include "txlog/registro_log.h"

namespace {

// A text field up to its zero byte, what is not printable as \xNN.
std::string Campo(const char* p, size_t n) {
  std::string s;
  AnexaEscapado(&s, reinterpret_cast<const uint8_t*>(p), strnlen(p, n));
  return s;
}

// The card number of a stored record, unscrambled in a copy that is wiped
// at once, shown as its first six and last four digits.
std::string CartaoMascarado(const RegistroLog& r) {
  uint8_t c[sizeof r.Cartao];
  std::memcpy(c, r.Cartao, sizeof c);
  DesembaralhaArea(c, sizeof c);
  size_t n = strnlen(reinterpret_cast<const char*>(c), sizeof c);
  bool digitos = true;
  for (size_t i = 0; i < n; ++i) digitos = digitos && c[i] >= '0' && c[i] <= '9';
  std::string s(n, '*');
  if (digitos && n > 10) {
    s.replace(0, 6, reinterpret_cast<const char*>(c), 6);
    s.replace(n - 4, 4, reinterpret_cast<const char*>(c) + n - 4, 4);
  }
  mbedtls_platform_zeroize(c, sizeof c);
  return s;
}

std::string CamposPrincipal(const RegistroLog& r) {
  char linha[96];
  std::snprintf(linha, sizeof linha, " Estado=%u CodTrn=%u", r.Estado, r.CodTrn);
  return " | Nsu=" + Campo(r.Nsu, sizeof r.Nsu) + linha +
         " Empresa=" + Campo(r.Empresa, sizeof r.Empresa) +
         " Terminal=" + Campo(r.Terminal, sizeof r.Terminal) +
         " Valor=" + Campo(r.Valor, sizeof r.Valor) + " Cartao=" + CartaoMascarado(r) +
         " CodResposta=" + Campo(r.CodResposta, sizeof r.CodResposta) +
         " DocHost=" + Campo(r.DocHost, sizeof r.DocHost) + " Data=" + Campo(r.Data, sizeof r.Data) +
         " Hora=" + Campo(r.Hora, sizeof r.Hora);
}

void Mostra(const RegistroEspelhoLido* reg, void*) {
  if (!reg->valido) {
    std::printf("%s\n", FormataDanoEspelho(reg).c_str());
    return;
  }
  std::string linha = FormataCabecalhoEspelho(reg);
  if (reg->tam_principal == sizeof(RegistroLog)) {
    RegistroLog r;
    std::memcpy(&r, reg->principal, sizeof r);
    linha += CamposPrincipal(r);
    mbedtls_platform_zeroize(&r, sizeof r);
  } else {
    linha += " | primary record of " + std::to_string(reg->tam_principal) + " bytes";
  }
  if (reg->secundario != nullptr)
    linha += " + secondary " + std::to_string(reg->tam_secundario) + " bytes";
  std::printf("%s\n", linha.c_str());
}

}  // namespace

int CmdMirror(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "read") != 0)
    return ErroUso("mirror: usage: mirror read FILE");
  ResumoLeituraEspelho resumo;
  const int rc = LeArquivoEspelho(argv[2], sizeof(RegistroLog), Mostra, nullptr, &resumo);
  if (rc != NV_OK) {
    std::fprintf(stderr, "kovtool: mirror read: %s: %s\n", argv[2], NV_NomeErro(rc));
    return 1;
  }
  std::printf("%lld records, %lld damaged\n", static_cast<long long>(resumo.validos),
              static_cast<long long>(resumo.danificados));
  return resumo.danificados > 0 ? 1 : 0;
}
