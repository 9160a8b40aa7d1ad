// kovtool audit read FILE [--key KEYFILE] [--json]: every record of an audit
// file, checked and deciphered with the audit key (by default the key file
// of the drive root): time, kind, data length and data, one line each, or
// with --json one object per record with the data in hexadecimal.  A record
// that fails its check, and bytes that hold no record, are shown as such and
// the reading goes on; the exit status is then 1.
#include <cstdio>
#include <cstring>
#include <string>

#include "basico/rot_arqs_cifra.h"
#include "basico/rot_arqs_leitor.h"
#include "comandos.h"
#include "nvpr/nv_error.h"

namespace {

void Mostra(const RegistroAuditLido* reg, void* contexto) {
  const bool json = *static_cast<bool*>(contexto);
  const std::string linha = json ? FormataAuditJson(reg) : FormataAuditTexto(reg);
  std::printf("%s\n", linha.c_str());
}

}  // namespace

int CmdAudit(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "read") != 0)
    return ErroUso("audit: usage: audit read FILE [--key KEYFILE] [--json]");
  const char* arquivo = nullptr;
  const char* chave_arq = kArquivoChaveAudit;
  bool json = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0) {
      json = true;
    } else if (std::strcmp(argv[i], "--key") == 0) {
      if (++i >= argc) return ErroUso("audit read: --key needs a key file");
      chave_arq = argv[i];
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return ErroUso("audit read: unknown option '%s'", argv[i]);
    } else if (arquivo != nullptr) {
      return ErroUso("audit read: one FILE only");
    } else {
      arquivo = argv[i];
    }
  }
  if (arquivo == nullptr) return ErroUso("audit read: FILE missing");

  ChaveAudit chave;
  const char* motivo = nullptr;
  if (CarregaChaveAudit(chave_arq, &chave, &motivo) != NV_OK) {
    std::fprintf(stderr, "kovtool: audit read: %s: %s\n", chave_arq, motivo);
    return 1;
  }
  ResumoLeituraAudit resumo;
  const int rc = LeArquivoAudit(arquivo, &chave, Mostra, &json, &resumo);
  LimpaChaveAudit(&chave);
  if (rc != NV_OK) {
    std::fprintf(stderr, "kovtool: audit read: %s: %s\n", arquivo, NV_NomeErro(rc));
    return 1;
  }
  if (!json) {
    std::printf("%lld records, %lld damaged\n", static_cast<long long>(resumo.validos),
                static_cast<long long>(resumo.danificados));
    if (resumo.validos == 0 && resumo.danificados > 0)
      std::printf("no record passes its check: is it the key the file was written with?\n");
  }
  return resumo.danificados > 0 ? 1 : 0;
}
