// JSON string escaping shared by the readers and kovtool.
#include "services/json.h"

#include <cstdio>

void EscapaJson(std::string* destino, const char* dados, size_t n) {
  char u[8];
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(dados[i]);
    if (c == '"' || c == '\\') {
      destino->push_back('\\');
      destino->push_back(static_cast<char>(c));
    } else if (c < 0x20 || c > 0x7e) {
      std::snprintf(u, sizeof u, "\\u%04x", c);
      destino->append(u);
    } else {
      destino->push_back(static_cast<char>(c));
    }
  }
}

std::string TextoJson(const std::string& texto) {
  std::string s = "\"";
  EscapaJson(&s, texto.data(), texto.size());
  s += '"';
  return s;
}
