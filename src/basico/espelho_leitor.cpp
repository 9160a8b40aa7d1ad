// The mirror file reader.  A record is well formed when its length field
// fits the file and holds at least the header, its marker is 4096, its
// operation 0 or 1 and its reserved word 0.
#include "basico/espelho_leitor.h"

#include <cstdio>
#include <cstring>

#include "basico/espelho_registro.h"
#include "basico/rot_arqs_bytes.h"
#include "basico/rot_arqs_janela.h"
#include "nvpr/nv_error.h"

namespace {

// The record at pos when it is well formed (its total length in *total).
const uint8_t* BemFormado(JanelaArquivo* j, int64_t pos, size_t* total) {
  const uint8_t* r = BytesJanela(j, pos, sizeof(CabecalhoEspelho));
  if (r == nullptr) return nullptr;
  size_t t = static_cast<size_t>(LeU16(r)) + 2;
  if (t < sizeof(CabecalhoEspelho) || static_cast<int64_t>(t) > j->tamanho - pos) return nullptr;
  if (LeU16(r + offsetof(CabecalhoEspelho, Marca)) != kMarcaEspelho ||
      LeU16(r + offsetof(CabecalhoEspelho, Operacao)) > 1 ||
      LeU16(r + offsetof(CabecalhoEspelho, Zero)) != 0)
    return nullptr;
  *total = t;
  return BytesJanela(j, pos, t);
}

void Texto(char* destino, const char* origem, size_t n) {
  std::memcpy(destino, origem, n);
  destino[n] = '\0';
}

void Separa(const uint8_t* r, size_t total, size_t tam_principal, RegistroEspelhoLido* reg) {
  CabecalhoEspelho cab;
  std::memcpy(&cab, r, sizeof cab);
  reg->operacao = LeU16(cab.Operacao);
  reg->rede = LeU16(cab.Rede);
  for (int i = 0; i < 9; ++i) reg->hora[i] = static_cast<int32_t>(LeU32(cab.Hora + 4 * i));
  Texto(reg->data, cab.Data, sizeof cab.Data);
  Texto(reg->empresa, cab.Empresa, sizeof cab.Empresa);
  Texto(reg->nsu, cab.Nsu, sizeof cab.Nsu);
  size_t resto = total - sizeof cab;
  reg->principal = r + sizeof cab;
  reg->tam_principal = resto < tam_principal ? resto : tam_principal;
  if (resto > reg->tam_principal) {
    reg->secundario = reg->principal + reg->tam_principal;
    reg->tam_secundario = resto - reg->tam_principal;
  }
}

// A text field read from the file, escaped for display.
std::string Limpo(const char* texto) {
  std::string s;
  AnexaEscapado(&s, reinterpret_cast<const uint8_t*>(texto), std::strlen(texto));
  return s;
}

}  // namespace

int LeArquivoEspelho(const char* caminho, size_t tam_principal, VisitanteEspelho visitante,
                     void* contexto, ResumoLeituraEspelho* resumo) {
  ResumoLeituraEspelho nada;
  if (resumo == nullptr) resumo = &nada;
  *resumo = ResumoLeituraEspelho{};
  JanelaArquivo j;
  int rc = AbreJanela(&j, caminho);
  if (rc != NV_OK) return rc;
  int64_t pos = 0;
  while (pos < j.tamanho) {
    RegistroEspelhoLido reg;
    reg.posicao = pos;
    size_t total = 0;
    if (const uint8_t* r = BemFormado(&j, pos, &total)) {
      Separa(r, total, tam_principal, &reg);
      reg.bytes = static_cast<int64_t>(total);
      ++resumo->validos;
      if (visitante != nullptr) visitante(&reg, contexto);
      pos += reg.bytes;
      continue;
    }
    if (j.erro != 0) return j.erro;
    int64_t q = pos + 1;
    while (q < j.tamanho && BemFormado(&j, q, &total) == nullptr) ++q;
    reg.valido = false;
    reg.bytes = q - pos;
    ++resumo->danificados;
    if (visitante != nullptr) visitante(&reg, contexto);
    pos = q;
  }
  return j.erro;
}

std::string FormataCabecalhoEspelho(const RegistroEspelhoLido* reg) {
  // Room for the longest line: every time field at its widest and every
  // text field fully escaped.
  char linha[320];
  const int* h = reg->hora;
  // The year and month are shifted in a wider type: a damaged or foreign
  // file may hold any 32-bit value there.
  const long long ano = static_cast<long long>(h[5]) + 1900;
  const long long mes = static_cast<long long>(h[4]) + 1;
  std::snprintf(linha, sizeof linha,
                "%s net %d time %04lld-%02lld-%02d %02d:%02d:%02d%s date %s company %s nsu %s",
                reg->operacao == 0 ? "new" : "rewrite", reg->rede, ano, mes, h[3], h[2], h[1],
                h[0], h[8] > 0 ? " dst" : "", Limpo(reg->data).c_str(),
                Limpo(reg->empresa).c_str(), Limpo(reg->nsu).c_str());
  return linha;
}

std::string FormataDanoEspelho(const RegistroEspelhoLido* reg) {
  return TextoDanoArquivo(reg->posicao, reg->bytes);
}
