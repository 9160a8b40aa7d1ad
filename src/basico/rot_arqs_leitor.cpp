// The audit file reader and its text and JSON forms.  A record is taken at
// the offset its predecessor's length field points to; when it fails its
// check the walk trusts its length as long as that leads to a plausible
// next record (so a changed data byte costs one record and a wrong key
// still walks the file), and otherwise searches byte by byte for the next
// record that passes its check.
#include "basico/rot_arqs_leitor.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <mbedtls/platform_util.h>

#include "basico/rot_arqs_bytes.h"
#include "services/json.h"
#include "basico/rot_arqs_janela.h"
#include "basico/rot_arqs_registro.h"
#include "nvpr/nv_error.h"

namespace {

constexpr char kHex[] = "0123456789abcdef";

struct Leitura {
  JanelaArquivo janela;
  CifraAudit cifra;
  std::vector<uint8_t> dados;   // the deciphered data of the current record

  Leitura() = default;
  Leitura(const Leitura&) = delete;
  Leitura& operator=(const Leitura&) = delete;
  // The deciphered messages do not outlive the walk, however it ends: the
  // whole allocation is wiped, also what a longer record left past the
  // current size.
  ~Leitura() {
    dados.resize(dados.capacity());
    mbedtls_platform_zeroize(dados.data(), dados.size());
  }
};

bool Digitos2(const uint8_t* p, int limite) {
  if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9') return false;
  return (p[0] - '0') * 10 + (p[1] - '0') < limite;
}

// A header whose length fits the file and whose time text is a time.
bool Plausivel(Leitura& l, int64_t pos, size_t* total) {
  const uint8_t* r = BytesJanela(&l.janela, pos, kSobraRegistroAudit);
  if (r == nullptr) return false;
  size_t t = static_cast<size_t>(LeU16(r)) + 2;
  if (t < kSobraRegistroAudit || static_cast<int64_t>(t) > l.janela.tamanho - pos) return false;
  const uint8_t* h = r + offsetof(CabecalhoAudit, Hora);
  if (!Digitos2(h, 24) || h[2] != ':' || !Digitos2(h + 3, 60) || h[5] != ':' ||
      !Digitos2(h + 6, 60))
    return false;
  *total = t;
  return true;
}

// Checks and deciphers the record of `total` bytes at pos into l.dados.
bool Confere(Leitura& l, int64_t pos, size_t total) {
  const uint8_t* r = BytesJanela(&l.janela, pos, total);
  if (r == nullptr) return false;
  size_t n = total - kSobraRegistroAudit;
  l.dados.assign(r + sizeof(CabecalhoAudit), r + sizeof(CabecalhoAudit) + n);
  return DecifraRegistroAudit(&l.cifra, r + offsetof(CabecalhoAudit, Nonce), r, kTamAadAudit,
                              l.dados.data(), n, r + sizeof(CabecalhoAudit) + n) == NV_OK;
}

// False when the header can no longer be read (the file shrank under the
// reader).
bool Cabecalho(Leitura& l, int64_t pos, size_t total, RegistroAuditLido* reg) {
  const uint8_t* r = BytesJanela(&l.janela, pos, sizeof(CabecalhoAudit));
  if (r == nullptr) return false;
  std::memcpy(reg->hora, r + offsetof(CabecalhoAudit, Hora), 8);
  reg->hora[8] = '\0';
  reg->tipo = r[offsetof(CabecalhoAudit, Tipo)];
  reg->tam_dados = total - kSobraRegistroAudit;
  return true;
}

// The next offset after pos at which a record passes its check, or the end.
int64_t ProximoValido(Leitura& l, int64_t pos) {
  for (int64_t q = pos + 1; q + static_cast<int64_t>(kSobraRegistroAudit) <= l.janela.tamanho;
       ++q) {
    size_t t = 0;
    if (Plausivel(l, q, &t) && Confere(l, q, t)) return q;
  }
  return l.janela.tamanho;
}

void Entrega(const RegistroAuditLido& reg, VisitanteAudit visitante, void* contexto,
             ResumoLeituraAudit* resumo) {
  if (reg.estado == kAuditLidoValido) ++resumo->validos;
  else ++resumo->danificados;
  if (visitante != nullptr) visitante(&reg, contexto);
}

}  // namespace

int LeArquivoAudit(const char* caminho, const ChaveAudit* chave, VisitanteAudit visitante,
                   void* contexto, ResumoLeituraAudit* resumo) {
  ResumoLeituraAudit nada;
  if (resumo == nullptr) resumo = &nada;
  *resumo = ResumoLeituraAudit{};
  Leitura l;
  int rc = DefineCifraAudit(&l.cifra, chave);
  if (rc != NV_OK) return rc;
  rc = AbreJanela(&l.janela, caminho);
  if (rc != NV_OK) return rc;
  int64_t pos = 0;
  while (pos < l.janela.tamanho) {
    RegistroAuditLido reg;
    reg.posicao = pos;
    size_t total = 0;
    if (Plausivel(l, pos, &total)) {
      int64_t prox = pos + static_cast<int64_t>(total);
      size_t t2 = 0;
      bool ok = Confere(l, pos, total);
      if (ok || prox == l.janela.tamanho || Plausivel(l, prox, &t2)) {
        if (!Cabecalho(l, pos, total, &reg)) return l.janela.erro != 0 ? l.janela.erro : NV_EIO;
        reg.bytes = static_cast<int64_t>(total);
        reg.estado = ok ? kAuditLidoValido : kAuditLidoFalhou;
        if (ok) reg.dados = l.dados.data();
        Entrega(reg, visitante, contexto, resumo);
        pos = prox;
        continue;
      }
    }
    if (l.janela.erro != 0) return l.janela.erro;
    int64_t prox = ProximoValido(l, pos);
    reg.estado = kAuditLidoDanificado;
    reg.bytes = prox - pos;
    Entrega(reg, visitante, contexto, resumo);
    pos = prox;
  }
  return l.janela.erro;
}

std::string FormataAuditTexto(const RegistroAuditLido* reg) {
  std::string s;
  char linha[160];
  if (reg->estado == kAuditLidoDanificado) return TextoDanoArquivo(reg->posicao, reg->bytes);
  std::string hora;
  AnexaEscapado(&hora, reinterpret_cast<const uint8_t*>(reg->hora), std::strlen(reg->hora));
  if (reg->estado == kAuditLidoFalhou) {
    std::snprintf(linha, sizeof linha,
                  "offset %lld: record fails its check (time %s, kind %u, len %zu)",
                  static_cast<long long>(reg->posicao), hora.c_str(), reg->tipo, reg->tam_dados);
    return linha;
  }
  std::snprintf(linha, sizeof linha, "%s kind %u len %zu: ", hora.c_str(), reg->tipo,
                reg->tam_dados);
  s = linha;
  AnexaEscapado(&s, reg->dados, reg->tam_dados);
  return s;
}

std::string FormataAuditJson(const RegistroAuditLido* reg) {
  std::string s = "{\"offset\":" + std::to_string(reg->posicao);
  if (reg->estado == kAuditLidoDanificado)
    return s + ",\"ok\":false,\"damaged\":" + std::to_string(reg->bytes) + "}";
  s += ",\"time\":\"";
  EscapaJson(&s, reg->hora, std::strlen(reg->hora));
  s += "\",\"kind\":" + std::to_string(reg->tipo) + ",\"length\":" + std::to_string(reg->tam_dados);
  if (reg->estado == kAuditLidoFalhou) return s + ",\"ok\":false,\"check\":\"failed\"}";
  s += ",\"ok\":true,\"data\":\"";
  for (size_t i = 0; i < reg->tam_dados; ++i) {
    s.push_back(kHex[reg->dados[i] >> 4]);
    s.push_back(kHex[reg->dados[i] & 15]);
  }
  return s + "\"}";
}
