// Key listings of ini sections for the brand and multi-brand files.
#include "basico/prodkovra_ini.h"

#include <algorithm>

#include "services/ini.h"

namespace {

// Where a listing that did not fit ends: at its two NULs.
size_t FimDaListaCortada(const std::vector<char>& buf) {
  size_t fim = 0;
  while (fim + 1 < buf.size() && !(buf[fim] == '\0' && buf[fim + 1] == '\0')) ++fim;
  return fim;
}

}  // namespace

void ListaChavesIni(const char* secao, const char* caminho, std::vector<char>* buf, size_t limite,
                    std::vector<std::string_view>* nomes) {
  nomes->clear();
  if (buf->size() < 2) buf->resize(2);
  size_t usados = 0;
  for (;;) {
    int n = LeIniString(secao, nullptr, "", buf->data(), buf->size(), caminho);
    buf->back() = '\0';
    if (n > 0) {
      usados = std::min(static_cast<size_t>(n), buf->size() - 1);
      break;
    }
    // 0 with names in the buffer: the list did not fit.
    usados = FimDaListaCortada(*buf);
    if (usados == 0 || buf->size() >= limite) break;
    buf->resize(std::min(limite, buf->size() * 2));
  }
  const char* p = buf->data();
  for (size_t i = 0; i < usados;) {
    std::string_view nome(p + i);
    if (i + nome.size() > usados) break;
    if (!nome.empty()) nomes->push_back(nome);
    i += nome.size() + 1;
  }
}
