// ASCII folding of section, key and path names for the ini cache.
#include "services/ini_nomes.h"

std::string DobraNomeIni(std::string_view nome) {
  std::string s(nome);
  for (char& c : s) c = DobraAscii(c);
  return s;
}

NomeDobrado::NomeDobrado(std::string_view nome) {
  if (nome.size() <= sizeof curto_) {
    for (size_t i = 0; i < nome.size(); ++i) curto_[i] = DobraAscii(nome[i]);
    vista_ = std::string_view(curto_, nome.size());
  } else {
    longo_ = DobraNomeIni(nome);
    vista_ = longo_;
  }
}
