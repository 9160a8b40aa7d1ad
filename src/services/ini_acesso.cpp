// The reading accessors: LeIniString (one value, or the double-NUL listing
// of the sections or of one section's keys) and LeIniInt.
#include <climits>
#include <cstring>
#include <new>
#include <string_view>

#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "services/ini_cache.h"
#include "services/ini_nomes.h"

namespace {

constexpr uint8_t kMaxContaLeitura = 10;

// Copies at most tam - 1 bytes and a NUL; the count copied.
int CopiaCortada(std::string_view v, char* buffer, size_t tam) {
  size_t n = v.size() < tam - 1 ? v.size() : tam - 1;
  std::memmove(buffer, v.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

// Names each followed by a NUL, the list ended by a second NUL.  A name
// needs its length plus 2 free bytes; when one does not fit, the names that
// did stay, still ended by two NULs, and the result is 0.
class ListaDupla {
 public:
  ListaDupla(char* buffer, size_t tam) : b_(buffer), tam_(tam) {}
  bool Poe(std::string_view nome) {
    if (!coube_ || tam_ - p_ < nome.size() + 2) return coube_ = false;
    std::memcpy(b_ + p_, nome.data(), nome.size());
    p_ += nome.size();
    b_[p_++] = '\0';
    return true;
  }
  int Fecha() {
    b_[p_] = '\0';
    if (p_ == 0 && tam_ > 1) b_[1] = '\0';
    return coube_ ? static_cast<int>(p_) : 0;
  }

 private:
  char* b_;
  size_t tam_;
  size_t p_ = 0;
  bool coube_ = true;
};

int ListaSecoes(const char* caminho, char* buffer, size_t tam) {
  ListaDupla lista(buffer, tam);
  UsoArquivoIni uso(caminho);
  if (uso.legivel())
    for (const auto& [k, s] : uso.arq()->secoes.mapa)
      if (!s.apagada && !s.nome.empty() && !lista.Poe(s.nome)) break;
  return lista.Fecha();
}

int ListaChaves(const char* secao, const char* caminho, char* buffer, size_t tam) {
  ListaDupla lista(buffer, tam);
  UsoArquivoIni uso(caminho);
  if (uso.legivel()) {
    const MapaSecoes& m = uso.arq()->secoes.mapa;
    NomeDobrado ks(secao);
    auto s = m.find(ks.vista());
    if (s != m.end() && !s->second.apagada)
      for (const auto& [k, c] : s->second.chaves)
        if (!c.apagada && !lista.Poe(c.nome)) break;
  }
  return lista.Fecha();
}

IniChave* AchaChave(IniArquivo* a, const char* secao, const char* chave) {
  NomeDobrado ks(secao);
  auto s = a->secoes.mapa.find(ks.vista());
  if (s == a->secoes.mapa.end() || s->second.apagada) return nullptr;
  NomeDobrado kc(chave);
  auto c = s->second.chaves.find(kc.vista());
  if (c == s->second.chaves.end() || c->second.apagada) return nullptr;
  return &c->second;
}

// Counts a successful read; files read more than once get their access
// time, which the tiers use to keep the busy files.
void ContaLeitura(IniArquivo* a, IniChave* c) {
  if (c->leituras < kMaxContaLeitura) ++c->leituras;
  if (c->leituras > a->max_leituras) a->max_leituras = c->leituras;
  // Only "none yet" matters: the count stops rising instead of overflowing
  // in a process that reads one file for weeks.
  if (a->leituras < INT_MAX) ++a->leituras;
  if (a->max_leituras != 1) {
    int64_t agora = NV_RelogioMonotonico();
    a->ultimo_acesso = agora;
    a->acesso_registrado = true;
    cache_ini.acesso_mais_recente = agora;
  }
}

int LeValor(const char* secao, const char* chave, const char* padrao, char* buffer, size_t tam,
            const char* caminho) {
  UsoArquivoIni uso(caminho);
  IniChave* c = uso.legivel() ? AchaChave(uso.arq(), secao, chave) : nullptr;
  if (c == nullptr) return CopiaCortada(padrao, buffer, tam);
  int r = CopiaCortada(c->valor, buffer, tam);
  ContaLeitura(uso.arq(), c);
  return r;
}

}  // namespace

int LeIniString(const char* secao, const char* chave, const char* padrao, char* buffer,
                size_t tam, const char* caminho) {
  if (buffer == nullptr || tam == 0) return 0;
  if (padrao == nullptr) padrao = "";
  if (caminho == nullptr) caminho = "";
  try {
    if (secao == nullptr) return ListaSecoes(caminho, buffer, tam);
    if (chave == nullptr) return ListaChaves(secao, caminho, buffer, tam);
    return LeValor(secao, chave, padrao, buffer, tam, caminho);
  } catch (const std::bad_alloc&) {
    return secao != nullptr && chave != nullptr ? CopiaCortada(padrao, buffer, tam)
                                                : ListaDupla(buffer, tam).Fecha();
  }
}

int LeIniInt(const char* secao, const char* chave, int padrao, const char* caminho) {
  if (secao == nullptr || chave == nullptr) return padrao;
  char v[20];
  LeIniString(secao, chave, "", v, sizeof v, caminho);
  const char* p = v;
  bool negativo = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  if (*p == '\0') return padrao;
  long long n = 0;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return padrao;
    n = n * 10 + (*p - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) return padrao;
  }
  if (negativo) n = -n;
  if (n > INT_MAX || n < INT_MIN) return padrao;
  return static_cast<int>(n);
}
