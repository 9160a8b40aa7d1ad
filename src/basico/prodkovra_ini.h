// Reading the key names of one ini section for the registry, through the
// ini cache, into a buffer that may grow up to a bound.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

// Lists the keys of `secao` in the ini file `caminho` into *buf, which
// starts at its current size (at least 2 bytes) and doubles, up to
// `limite` bytes, while the list does not fit.  The names (empty ones
// left out) go to *nomes as views into *buf, in the cache's listing order;
// when the list still does not fit at `limite`, the names that fitted.
void ListaChavesIni(const char* secao, const char* caminho, std::vector<char>* buf, size_t limite,
                    std::vector<std::string_view>* nomes);
