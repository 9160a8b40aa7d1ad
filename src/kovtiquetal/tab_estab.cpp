// TabEstab: the short-lived start-up thread that fills the transaction
// log's establishment index from the switch-wide establishment file, one
// pair (company, establishment code) per section.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "services/ini.h"
#include "services/texto.h"
#include "txlog/txlog.h"

namespace {

constexpr const char* kArqEstabelecimentos = "\\kovra\\config\\Tiquetal.ini";
constexpr size_t kTamListaSecoes = 5120;
constexpr size_t kTamCodigoEstab = 15;
constexpr size_t kTamEmpresa = 8;

void RegistraSecao(const char* secao) {
  char codigo[kTamCodigoEstab + 1] = {};
  LeIniString(secao, "CodigoEstabelecimento", "", codigo, sizeof codigo, kArqEstabelecimentos);
  if (codigo[0] == '\0') return;
  char estab[kTamCodigoEstab + 1];
  std::snprintf(estab, sizeof estab, "%-15.15s", codigo);
  // Fixed-width company code: a shorter section name is padded with zeros.
  char empresa[kTamEmpresa + 1] = {};
  if (ComparaSemCaso(secao, "GERAL") == 0) std::memcpy(empresa, "00000000", kTamEmpresa);
  else std::memcpy(empresa, secao, strnlen(secao, kTamEmpresa));
  AssociaEstabelecimento(empresa, estab);
}

}  // namespace

int TabEstab(void*) {
  std::vector<char> secoes;
  try {
    secoes.resize(kTamListaSecoes);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  LeIniString(nullptr, nullptr, "", secoes.data(), secoes.size(), kArqEstabelecimentos);
  secoes.back() = '\0';
  NV_Trava trava(&MutexGlobal);
  for (size_t pos = 0; pos < secoes.size() && secoes[pos] != '\0';) {
    const char* secao = secoes.data() + pos;
    RegistraSecao(secao);
    pos += std::strlen(secao) + 1;
  }
  return 0;
}
