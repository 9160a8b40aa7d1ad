// The pass over an ini file that both the load and the merged rewrite use,
// so that reading and writing apply exactly the same grammar.
#include "services/ini_carga.h"

#include <cstring>
#include <new>

#include "nvpr/nv_error.h"
#include "services/ini_frescor.h"
#include "services/ini_gramatica.h"
#include "services/ini_layout.h"
#include "services/ini_nomes.h"

namespace {

enum AcaoLinha { COPIA, JA_ESCRITA, OMITE };

struct PassoIni {
  MapaSecoes* secoes;
  IniSecao* atual;                      // null while the lines are ignored
  const AlteracoesIni* alt;
  const AlteracaoSecaoIni* alt_atual;   // the changes of `atual`
  EscritorIni* saida;
  const std::string* fim_linha;
  LayoutIni layout;
  std::string linha;                    // scratch for lines written anew
  // After a header cut by the line buffer: the lines up to the next header
  // are read as belonging to no section but copied by a rewrite.
  bool conserva;
};

void Emite(PassoIni* p, std::string_view s) {
  if (p->saida != nullptr) p->saida->Escreve(s);
}

void EmiteLinhaChave(PassoIni* p, std::string_view nome, std::string_view valor) {
  if (p->saida == nullptr) return;
  MontaLinhaChave(p->layout, nome, valor, &p->linha);
  Emite(p, p->linha);
  Emite(p, *p->fim_linha);
}

IniChave& InsereChave(IniSecao* s, std::string_view dobrada, std::string_view nome,
                      std::string_view valor) {
  IniChave& c = s->chaves[std::string(dobrada)];
  c.chave.assign(dobrada);
  c.nome.assign(nome);
  c.valor.assign(valor);
  return c;
}

IniSecao& InsereSecao(MapaSecoes* m, std::string_view dobrada, std::string_view nome) {
  IniSecao& s = (*m)[std::string(dobrada)];
  s.chave.assign(dobrada);
  s.nome.assign(nome);
  return s;
}

const AlteracaoSecaoIni* AchaAlteracao(const AlteracoesIni* alt, std::string_view dobrada) {
  if (alt == nullptr) return nullptr;
  auto it = alt->find(dobrada);
  return it == alt->end() ? nullptr : &it->second;
}

// The section that was being read ends: its changed keys that the file did
// not have go here, before whatever line ends it.
void FechaSecao(PassoIni* p) {
  if (p->atual != nullptr && p->alt_atual != nullptr)
    for (const auto& [k, ch] : p->alt_atual->chaves)
      if (p->atual->chaves.find(k) == p->atual->chaves.end()) {
        EmiteLinhaChave(p, ch.nome, ch.valor);
        InsereChave(p->atual, k, ch.nome, ch.valor);
      }
  p->atual = nullptr;
  p->alt_atual = nullptr;
}

AcaoLinha TrataSecao(PassoIni* p, const char* s, size_t n, const LinhaIni& l) {
  FechaSecao(p);
  p->conserva = false;
  if (p->saida != nullptr) AprendeLayoutSecao(&p->layout, s, n, l);
  std::string_view nome(s + l.ini_nome, l.fim_nome - l.ini_nome);
  NomeDobrado k(nome);
  if (p->secoes->find(k.vista()) != p->secoes->end()) return OMITE;   // repeated header
  p->atual = &InsereSecao(p->secoes, k.vista(), nome);
  p->alt_atual = AchaAlteracao(p->alt, k.vista());
  return COPIA;
}

AcaoLinha TrataChave(PassoIni* p, const char* s, size_t n, const LinhaIni& l, bool cortada) {
  std::string_view nome, valor;
  if (l.tipo == INI_LINHA_CHAVE) {
    if (p->saida != nullptr) AprendeLayoutChave(&p->layout, s, n, l);
    nome = std::string_view(s + l.ini_nome, l.fim_nome - l.ini_nome);
    valor = std::string_view(s + l.ini_valor, l.fim_valor - l.ini_valor);
  }
  // A line without "=" counts as a key with an empty name and value: it is
  // copied as it stands, but a second one in the same section is left out,
  // and listings of the section's keys show the empty name.
  if (p->atual == nullptr) return p->conserva ? COPIA : OMITE;
  // A cut line with no "=" in the part seen may have one further on: it is
  // copied as it stands and counts as no key.
  if (l.tipo == INI_LINHA_SEM_IGUAL && cortada) return COPIA;
  NomeDobrado k(nome);
  if (p->atual->chaves.find(k.vista()) != p->atual->chaves.end()) return OMITE;
  if (p->alt_atual != nullptr) {
    auto it = p->alt_atual->chaves.find(k.vista());
    if (it != p->alt_atual->chaves.end()) {
      InsereChave(p->atual, k.vista(), nome, it->second.valor);
      EmiteLinhaChave(p, nome, it->second.valor);
      return JA_ESCRITA;
    }
  }
  InsereChave(p->atual, k.vista(), nome, valor);
  return COPIA;
}

// `cortada`: the line goes on past the buffer, beyond what the grammar sees.
AcaoLinha TrataLinha(PassoIni* p, const char* s, size_t n, bool cortada) {
  // The grammar works on C strings: a NUL byte ends what it sees of a line.
  const void* nul = std::memchr(s, '\0', n);
  size_t visto = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - s) : n;
  LinhaIni l;
  AnalisaLinhaIni(s, visto, &l);
  switch (l.tipo) {
    case INI_LINHA_VAZIA:
      return COPIA;
    case INI_LINHA_SECAO:
      return TrataSecao(p, s, visto, l);
    case INI_LINHA_MALFORMADA:
      FechaSecao(p);
      // A header whose "]" lies beyond the buffer opens no section either,
      // but it and its lines are kept whole on a rewrite: nothing that the
      // reader could not see is lost.
      p->conserva = cortada;
      return cortada ? COPIA : OMITE;
    case INI_LINHA_CHAVE:
    case INI_LINHA_SEM_IGUAL:
      return TrataChave(p, s, visto, l, cortada);
  }
  return COPIA;
}

// At the end of the file: the changed sections that it does not have.
void AcrescentaSecoesNovas(PassoIni* p) {
  if (p->alt == nullptr) return;
  for (const auto& [ks, as] : *p->alt) {
    if (p->secoes->find(ks) != p->secoes->end()) continue;
    IniSecao& sec = InsereSecao(p->secoes, ks, as.nome);
    if (p->saida != nullptr) {
      MontaLinhaSecao(p->layout, as.nome, &p->linha);
      Emite(p, p->linha);
      Emite(p, *p->fim_linha);
    }
    for (const auto& [kc, ch] : as.chaves) {
      EmiteLinhaChave(p, ch.nome, ch.valor);
      InsereChave(&sec, kc, ch.nome, ch.valor);
    }
  }
}

int Passo(NV_Arquivo* entrada, PassoIni* p) {
  p->secoes->clear();
  p->atual = &InsereSecao(p->secoes, "", "");
  p->alt_atual = AchaAlteracao(p->alt, "");
  if (entrada != nullptr) {
    LeitorLinhasIni leitor(entrada);
    for (;;) {
      bool ha = false;
      int r = leitor.Proxima(&ha);
      if (r != 0) return r;
      if (!ha) break;
      AcaoLinha acao = TrataLinha(p, leitor.dados(), leitor.tamanho(), leitor.cortada());
      if (acao == COPIA) Emite(p, std::string_view(leitor.dados(), leitor.tamanho()));
      r = leitor.Termina(acao == COPIA ? p->saida : nullptr);
      if (r != 0) return r;
      if (acao == COPIA) Emite(p, *p->fim_linha);
    }
  }
  FechaSecao(p);
  AcrescentaSecoesNovas(p);
  return p->saida != nullptr ? p->saida->erro() : 0;
}

}  // namespace

void ColheAlteracoes(const SecoesIni& secoes, AlteracoesIni* alt) {
  alt->clear();
  for (const auto& [ks, sec] : secoes.mapa) {
    if (sec.apagada || sec.alteradas == 0) continue;
    AlteracaoSecaoIni* as = nullptr;
    for (const auto& [kc, ch] : sec.chaves) {
      if (!ch.modificada || ch.apagada) continue;
      if (as == nullptr) {
        as = &(*alt)[ks];
        as->nome = sec.nome;
      }
      as->chaves[kc] = AlteracaoChaveIni{ch.nome, ch.valor};
    }
  }
}

int PassoArquivoIni(NV_Arquivo* entrada, const AlteracoesIni* alt, EscritorIni* saida,
                    const std::string& fim_linha, MapaSecoes* secoes) {
  PassoIni p{secoes, nullptr, alt, nullptr, saida, &fim_linha, LayoutIni{}, std::string{}, false};
  try {
    return Passo(entrada, &p);
  } catch (const std::bad_alloc&) {
    return NV_ENOMEM;
  }
}

int LeArquivoIni(const std::string& caminho, ResultadoCargaIni* res) {
  NV_Arquivo f;
  int r = NV_FileOpen(&f, caminho.c_str(), NV_O_RDONLY);
  if (r == NV_ENOENT || r == NV_ENOTDIR) {
    RegistroAusente(&res->registro);
    return PassoArquivoIni(nullptr, nullptr, nullptr, std::string(), &res->secoes);
  }
  if (r != 0) return r;
  // The record is taken before the first byte is read: a change made while
  // the file is being read shows as a different record on the next use.
  r = LeRegistroHandle(&f, &res->registro);
  if (r != 0) return r;
  res->resolucao = ResolucaoDoAberto(caminho.c_str(), &f);
  return PassoArquivoIni(&f, nullptr, nullptr, std::string(), &res->secoes);
}
