// kovtool mirror read FILE: every record of a mirror (export) file, one line
// each: the operation, network, local time of the mirror write, date,
// company and NSU, then the main fields of the primary log record as
// `log dump` shows them (card number masked to its first six and last four
// digits) and the size of the secondary ranges.  Damaged stretches are
// shown as such and the reading goes on; the exit status is then 1.
#include <cstdio>
#include <cstring>
#include <string>

#include <mbedtls/platform_util.h>

#include "basico/espelho_leitor.h"
#include "comandos.h"
#include "linha_registro_log.h"
#include "nvpr/nv_error.h"
#include "txlog/registro_log.h"

namespace {

void Mostra(const RegistroEspelhoLido* reg, void*) {
  if (!reg->valido) {
    std::printf("%s\n", FormataDanoEspelho(reg).c_str());
    return;
  }
  std::string linha = FormataCabecalhoEspelho(reg);
  if (reg->tam_principal == sizeof(RegistroLog)) {
    RegistroLog r;
    std::memcpy(&r, reg->principal, sizeof r);
    linha += " | " + LinhaRegistroLog(r);
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
