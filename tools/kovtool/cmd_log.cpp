// kovtool log: the transaction log for the operator.
//   log nsu --slot S --day D   the NSU of a slot of a day file ("sem NSU", exit 1)
//   log nsu NSU                the slot it names and its day ("slot S dia D")
//   log dump FILE [--json]     every used slot of a primary day file, with
//                              its secondary file beside it when present
//   log show NSU MMDD [--company C] [--json]
//                              one record, found as LeLog finds it
// Card numbers are always shown masked.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "comandos.h"
#include "linha_registro_log.h"
#include "nvpr/nv_file.h"
#include "txlog/nsu.h"
#include "txlog/protecao.h"
#include "txlog/registro_log.h"
#include "txlog/txlog.h"

namespace {

// ---- Field output ----

std::string Texto(const char* p, size_t n) { return std::string(p, strnlen(p, n)); }

std::string Cartao(const RegistroLog& guardado) {
  char m[sizeof guardado.Cartao + 1];
  CartaoMascarado(reinterpret_cast<const uint8_t*>(guardado.Cartao), sizeof guardado.Cartao, m,
                  sizeof m);
  return m;
}

std::string Hex(const void* p, size_t n) {
  std::string s;
  char b[3];
  for (size_t i = 0; i < n; i++) {
    std::snprintf(b, sizeof b, "%02X", static_cast<const uint8_t*>(p)[i]);
    s += b;
  }
  return s;
}

std::string Json(const std::string& s) {
  std::string o = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      o += '\\';
      o += static_cast<char>(c);
    } else if (c < 0x20 || c > 0x7e) {
      char b[8];
      std::snprintf(b, sizeof b, "\\u%04x", c);
      o += b;
    } else {
      o += static_cast<char>(c);
    }
  }
  return o + "\"";
}

// The fields of a record, each as plain text and as a JSON value.
struct Campo {
  std::string nome, texto, json;
};
struct Campos {
  std::vector<Campo> v;
  void Str(const char* nome, const std::string& t) { v.push_back({nome, t, Json(t)}); }
  void Num(const char* nome, long long n) { v.push_back({nome, std::to_string(n), std::to_string(n)}); }
  std::string ComoJson() const {
    std::string o;
    for (const auto& c : v) o += (o.empty() ? "{" : ",") + Json(c.nome) + ":" + c.json;
    return o.empty() ? "{}" : o + "}";
  }
  void Imprime() const {
    for (const auto& c : v) std::printf("%-17s %s\n", c.nome.c_str(), c.texto.c_str());
  }
};

#define TXT(r, campo) Texto((r).campo, sizeof (r).campo)

Campos DoPrincipal(const RegistroLog& r) {
  Campos o;
  o.Str("Terminal", TXT(r, Terminal));
  o.Str("Produto", Hex(r.Produto, sizeof r.Produto));
  o.Str("Nsu", TXT(r, Nsu));
  o.Str("DocHost", TXT(r, DocHost));
  o.Num("Estado", r.Estado);
  o.Num("CodTrn", r.CodTrn);
  o.Str("CodProcessamento", TXT(r, CodProcessamento));
  o.Str("CodResposta", TXT(r, CodResposta));
  o.Str("Data", TXT(r, Data));
  o.Str("Hora", TXT(r, Hora));
  o.Str("Cartao", Cartao(r));
  o.Str("DataEnvio", TXT(r, DataEnvio));
  o.Str("HoraEnvio", TXT(r, HoraEnvio));
  o.Str("NsuOriginal", TXT(r, NsuOriginal));
  o.Str("Valor", TXT(r, Valor));
  o.Str("Validade", TXT(r, Validade));
  o.Str("Parcelas", TXT(r, Parcelas));
  o.Str("CodAutorizacao", TXT(r, CodAutorizacao));
  o.Num("Rede", r.Rede);
  o.Num("SeqPdv", r.SeqPdv);
  o.Str("DocOriginal", TXT(r, DocOriginal));
  o.Str("Adquirente", TXT(r, Adquirente));
  o.Str("Estabelecimento", TXT(r, Estabelecimento));
  o.Str("Empresa", TXT(r, Empresa));
  o.Str("ModoEntrada", TXT(r, ModoEntrada));
  o.Str("DataOriginal", TXT(r, DataOriginal));
  o.Str("HoraOriginal", TXT(r, HoraOriginal));
  o.Num("IdPdv", LeU16(r.IdPdv));
  o.Num("IndiceSecundario", LeU32(r.IndiceSecundario));
  return o;
}

Campos DoSecundario(const RegistroLogSecundario& s) {
  Campos o;
  o.Str("FrotaCampo1", TXT(s, FrotaCampo1));
  o.Str("FrotaCampo2", TXT(s, FrotaCampo2));
  o.Str("FrotaCampo3", TXT(s, FrotaCampo3));
  const int qtd = LeU16(s.QtdItens);
  o.Num("QtdItens", qtd);
  std::string json = "[", texto;
  for (int i = 0; i < qtd && i < kMaxItensLog; i++) {
    Campos it;
    it.Str("Codigo", TXT(s.Itens[i], Codigo));
    it.Str("Descricao", TXT(s.Itens[i], Descricao));
    it.Str("Valor1", TXT(s.Itens[i], Valor1));
    it.Str("Valor2", TXT(s.Itens[i], Valor2));
    json += (i ? "," : "") + it.ComoJson();
    texto += (i ? "; " : "") + it.v[0].texto + " " + it.v[1].texto + " " + it.v[2].texto + " " +
             it.v[3].texto;
  }
  o.v.push_back({"Itens", texto, json + "]"});
  o.Str("NsuCopia", TXT(s, NsuCopia));
  o.Str("DataHoraCopia", TXT(s, DataHoraCopia));
  o.Str("DadosProduto", Hex(s.DadosProduto, sizeof s.DadosProduto));
  return o;
}

void Mostra(long long slot, const RegistroLog& r, const RegistroLogSecundario* s, bool json) {
  if (json) {
    std::string linha =
        "{\"slot\":" + std::to_string(slot) + ",\"principal\":" + DoPrincipal(r).ComoJson();
    if (s) linha += ",\"secundario\":" + DoSecundario(*s).ComoJson();
    std::printf("%s}\n", linha.c_str());
    return;
  }
  std::printf("%6lld %s\n", slot, LinhaRegistroLog(r).c_str());
}

// ---- Arguments ----

bool Numero(const char* s, long long* v) {
  if (s == nullptr || *s == '\0') return false;
  char* fim = nullptr;
  *v = std::strtoll(s, &fim, 10);
  return *fim == '\0' && s[0] != '-' && s[0] != '+';
}

bool Nsu(const char* s) {
  if (s == nullptr || std::strlen(s) != 6) return false;
  int64_t slot;
  int dia;
  return SlotDoNsu(s, &slot, &dia) == 0;
}

// ---- log nsu ----

int Nsu(int argc, char** argv) {
  if (argc == 2) {
    if (!Nsu(argv[1])) return ErroUso("log nsu: '%s' is not a six-digit NSU", argv[1]);
    int64_t slot = 0;
    int dia = 0;
    SlotDoNsu(argv[1], &slot, &dia);
    if (dia == 0) std::printf("slot %lld emergencia\n", static_cast<long long>(slot));
    else std::printf("slot %lld dia %d\n", static_cast<long long>(slot), dia);
    return 0;
  }
  long long slot = -1, dia = -1;
  for (int i = 1; i < argc; i++) {
    const bool tem_valor = i + 1 < argc;
    if (std::strcmp(argv[i], "--slot") == 0 && tem_valor && Numero(argv[i + 1], &slot)) i++;
    else if (std::strcmp(argv[i], "--day") == 0 && tem_valor && Numero(argv[i + 1], &dia)) i++;
    else return ErroUso("log nsu: bad argument '%s' (log nsu --slot S --day D | log nsu NSU)", argv[i]);
  }
  if (slot < 0 || dia < 1 || dia > 31)
    return ErroUso("log nsu: give --slot (0 or more) and --day (1 to 31)");
  char nsu[7];
  if (NsuDoSlot(slot, static_cast<int>(dia), nsu) != 0) {
    std::puts("sem NSU");
    return 1;
  }
  std::puts(nsu);
  return 0;
}

// ---- log dump ----

// "EXT_" and the module's secondary extension in place of the primary
// file's "LOG_" and extension; empty when the name is not of that form.
std::string NomeSecundario(const std::string& primario) {
  const size_t barra = primario.find_last_of("/\\");
  const size_t ini = barra == std::string::npos ? 0 : barra + 1;
  const size_t ponto = primario.rfind('.');
  if (primario.size() - ini < 4 || ponto == std::string::npos || ponto < ini) return "";
  std::string prefixo = primario.substr(ini, 4);
  for (char& c : prefixo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (prefixo != "LOG_") return "";
  return primario.substr(0, ini) + "EXT_" + primario.substr(ini + 4, ponto - ini - 3) + "077";
}

bool TudoZero(const void* p, size_t n) {
  const auto* b = static_cast<const uint8_t*>(p);
  for (size_t i = 0; i < n; i++)
    if (b[i] != 0) return false;
  return true;
}

int Dump(int argc, char** argv) {
  const char* arquivo = nullptr;
  bool json = false;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--json") == 0) json = true;
    else if (!arquivo) arquivo = argv[i];
    else return ErroUso("log dump: unexpected argument '%s'", argv[i]);
  }
  if (!arquivo) return ErroUso("log dump: give a primary day file (log dump FILE [--json])");
  NV_Arquivo p, s;
  int rc = NV_FileOpen(&p, arquivo, NV_O_RDONLY);
  if (rc != 0) {
    std::fprintf(stderr, "kovtool: log dump: cannot open %s (error %d)\n", arquivo, rc);
    return 1;
  }
  int64_t tam = 0;
  NV_FileSize(&p, &tam);
  if (tam < kTamRegistroLog) {
    std::fprintf(stderr, "kovtool: log dump: %s is shorter than one record\n", arquivo);
    return 1;
  }
  const std::string ext = NomeSecundario(arquivo);
  const bool tem_s = !ext.empty() && NV_FileOpen(&s, ext.c_str(), NV_O_RDONLY) == 0;
  const int64_t slots = tam / kTamRegistroLog;
  for (int64_t slot = 1; slot < slots; slot++) {
    RegistroLog r;
    size_t lidos = 0;
    if (NV_FileReadAt(&p, slot * kTamRegistroLog, &r, sizeof r, &lidos) != 0 || lidos != sizeof r) {
      std::fprintf(stderr, "kovtool: log dump: slot %lld unreadable\n", static_cast<long long>(slot));
      return 1;
    }
    if (TudoZero(&r, sizeof r)) continue;   // reserved or padded slot
    RegistroLogSecundario sec{};
    const uint32_t indice = LeU32(r.IndiceSecundario);
    bool com_s = false;
    if (tem_s && indice != 0 && FiltroSecundarioModulo(&r)) {
      com_s = NV_FileReadAt(&s, static_cast<int64_t>(indice) * kTamRegistroLogSecundario, &sec,
                            sizeof sec, &lidos) == 0 &&
              lidos == sizeof sec;
    }
    Mostra(slot, r, com_s ? &sec : nullptr, json);
  }
  if (tam % kTamRegistroLog != 0)
    std::fprintf(stderr, "kovtool: log dump: last slot cut off (%lld bytes)\n",
                 static_cast<long long>(tam % kTamRegistroLog));
  return 0;
}

// ---- log show ----

int Show(int argc, char** argv) {
  const char* nsu = nullptr;
  const char* mmdd = nullptr;
  const char* empresa = "00000000";
  bool json = false;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--json") == 0) json = true;
    else if (std::strcmp(argv[i], "--company") == 0 && i + 1 < argc) empresa = argv[++i];
    else if (!nsu) nsu = argv[i];
    else if (!mmdd) mmdd = argv[i];
    else return ErroUso("log show: unexpected argument '%s'", argv[i]);
  }
  if (!nsu || !mmdd) return ErroUso("log show: give an NSU and a date (log show NSU MMDD [--company C])");
  if (!Nsu(nsu)) return ErroUso("log show: '%s' is not a six-digit NSU", nsu);
  const bool mmdd_ok = std::strlen(mmdd) == 4 && std::strspn(mmdd, "0123456789") == 4 &&
                       std::atoi(mmdd) / 100 >= 1 && std::atoi(mmdd) / 100 <= 12 &&
                       std::atoi(mmdd) % 100 >= 1 && std::atoi(mmdd) % 100 <= 31;
  if (!mmdd_ok) return ErroUso("log show: '%s' is not a date MMDD", mmdd);
  if (std::strlen(empresa) != 8) return ErroUso("log show: the company code has 8 characters");
  DefinicaoLog def;
  DefinicaoLogModulo(&def);
  if (const int rc = DefineLog(&def); rc != 0) {
    std::fprintf(stderr, "kovtool: log show: the log configuration is invalid (%d)\n", rc);
    return 1;
  }
  RegistroLog r{};
  RegistroLogSecundario s{};
  const int rc = LeLog(empresa, &r, &s, nsu, mmdd);
  if (rc != 0) {
    std::fprintf(stderr, "kovtool: log show: no record %s of %s (LeLog %d)\n", nsu, mmdd, rc);
    return 1;
  }
  // Shown in its stored form, so that the card number is masked like the dump's.
  RegistroLog guardado = r;
  EmbaralhaArea(reinterpret_cast<uint8_t*>(guardado.Cartao), sizeof guardado.Cartao);
  std::memset(r.Cartao, 0, sizeof r.Cartao);
  const bool com_s = FiltroSecundarioModulo(&guardado) && LeU32(guardado.IndiceSecundario) != 0;
  if (json) {
    int64_t slot = 0;
    int dia = 0;
    SlotDoNsu(nsu, &slot, &dia);
    Mostra(slot, guardado, com_s ? &s : nullptr, true);
    return 0;
  }
  DoPrincipal(guardado).Imprime();
  if (com_s) DoSecundario(s).Imprime();
  return 0;
}

}  // namespace

int CmdLog(int argc, char** argv) {
  if (argc < 2) return ErroUso("log: nsu, dump or show");
  const std::string sub = argv[1];
  if (sub == "nsu") return Nsu(argc - 1, argv + 1);
  if (sub == "dump") return Dump(argc - 1, argv + 1);
  if (sub == "show") return Show(argc - 1, argv + 1);
  return ErroUso("log: unknown subcommand '%s' (nsu, dump, show)", argv[1]);
}
