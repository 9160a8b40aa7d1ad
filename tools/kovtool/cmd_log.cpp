// kovtool log: the transaction log for the operator.
//   log nsu --slot S --day D   the NSU of a slot of a day file ("sem NSU", exit 1)
//   log nsu NSU                the slot it names and its day ("slot S dia D")
//   log dump FILE [--json]     every used slot of a primary day file, with
//                              its secondary file beside it when present
//   log show NSU MMDD [--company C] [--json]
//                              one record, found as LeLog finds it
// Card numbers are always shown masked.
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "basico/rot_arqs_janela.h"
#include "comandos.h"
#include "linha_registro_log.h"
#include "nvpr/nv_file.h"
#include "txlog/nsu.h"
#include "txlog/protecao.h"
#include "txlog/registro_log.h"
#include "txlog/txlog.h"
#include "services/json.h"

namespace {

// ---- Field output ----

// A text field up to its zero byte.
std::string Texto(const char* p, size_t n) { return std::string(p, strnlen(p, n)); }

// For the terminal: every byte that is not printable ASCII shows as \xNN.
std::string Escapado(const std::string& t) {
  std::string s;
  AnexaEscapado(&s, reinterpret_cast<const uint8_t*>(t.data()), t.size());
  return s;
}

std::string Hex(const uint8_t* p, size_t n) {
  std::string s;
  char b[3];
  for (size_t i = 0; i < n; i++) {
    std::snprintf(b, sizeof b, "%02X", p[i]);
    s += b;
  }
  return s;
}

// The fields of a record, each as plain text and as a JSON value.
struct Campo {
  std::string nome, texto, json;
};
struct Campos {
  std::vector<Campo> v;
  void Str(const char* nome, const std::string& t) { v.push_back({nome, Escapado(t), TextoJson(t)}); }
  void Num(const char* nome, long long n) { v.push_back({nome, std::to_string(n), std::to_string(n)}); }
  std::string ComoJson() const {
    std::string o;
    for (const auto& c : v) o += (o.empty() ? "{" : ",") + TextoJson(c.nome) + ":" + c.json;
    return o.empty() ? "{}" : o + "}";
  }
  void Imprime() const {
    for (const auto& c : v) std::printf("%-17s %s\n", c.nome.c_str(), c.texto.c_str());
  }
};

// How a field of a record is shown.
enum class Forma {
  Texto,    // text up to its zero byte
  Byte,     // one byte as a number
  Hex,      // bytes in hexadecimal
  Cartao,   // the stored card number, masked
  U16,      // 16-bit little-endian number
  U32,      // 32-bit little-endian number
  Itens,    // the fuel product lines of the secondary record
};

struct DescrCampo {
  const char* nome;
  Forma forma;
  size_t pos, tam;
};

#define CAMPO(registro, campo, forma) \
  DescrCampo{#campo, Forma::forma, offsetof(registro, campo), sizeof(registro::campo)}

constexpr DescrCampo kCamposPrincipal[] = {
    CAMPO(RegistroLog, Terminal, Texto),        CAMPO(RegistroLog, Produto, Hex),
    CAMPO(RegistroLog, Nsu, Texto),             CAMPO(RegistroLog, DocHost, Texto),
    CAMPO(RegistroLog, Estado, Byte),           CAMPO(RegistroLog, CodTrn, Byte),
    CAMPO(RegistroLog, CodProcessamento, Texto), CAMPO(RegistroLog, CodResposta, Texto),
    CAMPO(RegistroLog, Data, Texto),            CAMPO(RegistroLog, Hora, Texto),
    CAMPO(RegistroLog, Cartao, Cartao),         CAMPO(RegistroLog, DataEnvio, Texto),
    CAMPO(RegistroLog, HoraEnvio, Texto),       CAMPO(RegistroLog, NsuOriginal, Texto),
    CAMPO(RegistroLog, Valor, Texto),           CAMPO(RegistroLog, Validade, Texto),
    CAMPO(RegistroLog, Parcelas, Texto),        CAMPO(RegistroLog, CodAutorizacao, Texto),
    CAMPO(RegistroLog, Rede, Byte),             CAMPO(RegistroLog, SeqPdv, Byte),
    CAMPO(RegistroLog, DocOriginal, Texto),     CAMPO(RegistroLog, Adquirente, Texto),
    CAMPO(RegistroLog, Estabelecimento, Texto), CAMPO(RegistroLog, Empresa, Texto),
    CAMPO(RegistroLog, ModoEntrada, Texto),     CAMPO(RegistroLog, DataOriginal, Texto),
    CAMPO(RegistroLog, HoraOriginal, Texto),    CAMPO(RegistroLog, IdPdv, U16),
    CAMPO(RegistroLog, IndiceSecundario, U32),
};

constexpr DescrCampo kCamposSecundario[] = {
    CAMPO(RegistroLogSecundario, FrotaCampo1, Texto),
    CAMPO(RegistroLogSecundario, FrotaCampo2, Texto),
    CAMPO(RegistroLogSecundario, FrotaCampo3, Texto),
    CAMPO(RegistroLogSecundario, QtdItens, U16),
    CAMPO(RegistroLogSecundario, Itens, Itens),
    CAMPO(RegistroLogSecundario, NsuCopia, Texto),
    CAMPO(RegistroLogSecundario, DataHoraCopia, Texto),
    CAMPO(RegistroLogSecundario, DadosProduto, Hex),
};

constexpr DescrCampo kCamposItem[] = {
    CAMPO(ItemLogFrota, Codigo, Texto),
    CAMPO(ItemLogFrota, Descricao, Texto),
    CAMPO(ItemLogFrota, Valor1, Texto),
    CAMPO(ItemLogFrota, Valor2, Texto),
};

#undef CAMPO

template <size_t N>
Campos DaTabela(const void* registro, const DescrCampo (&tabela)[N]);

// The product lines that QtdItens announces (at most six): in JSON an
// array of objects, as text the lines' fields separated by "; ".
void Itens(const uint8_t* sec, Campos* o) {
  const int qtd = LeU16(sec + offsetof(RegistroLogSecundario, QtdItens));
  const auto* itens = reinterpret_cast<const ItemLogFrota*>(sec + offsetof(RegistroLogSecundario, Itens));
  std::string json = "[", texto;
  for (int i = 0; i < qtd && i < kMaxItensLog; i++) {
    const Campos it = DaTabela(&itens[i], kCamposItem);
    json += (i ? "," : "") + it.ComoJson();
    texto += i ? "; " : "";
    for (size_t k = 0; k < it.v.size(); k++) texto += (k ? " " : "") + it.v[k].texto;
  }
  o->v.push_back({"Itens", texto, json + "]"});
}

template <size_t N>
Campos DaTabela(const void* registro, const DescrCampo (&tabela)[N]) {
  const auto* base = static_cast<const uint8_t*>(registro);
  Campos o;
  for (const DescrCampo& d : tabela) {
    const uint8_t* p = base + d.pos;
    switch (d.forma) {
      case Forma::Texto: o.Str(d.nome, Texto(reinterpret_cast<const char*>(p), d.tam)); break;
      case Forma::Byte: o.Num(d.nome, p[0]); break;
      case Forma::Hex: o.Str(d.nome, Hex(p, d.tam)); break;
      case Forma::U16: o.Num(d.nome, LeU16(p)); break;
      case Forma::U32: o.Num(d.nome, LeU32(p)); break;
      case Forma::Itens: Itens(base, &o); break;
      case Forma::Cartao: {
        char m[kTamCartao + 1];
        CartaoMascarado(p, d.tam, m, sizeof m);
        o.Str(d.nome, m);
        break;
      }
    }
  }
  return o;
}

Campos DoPrincipal(const RegistroLog& r) { return DaTabela(&r, kCamposPrincipal); }
Campos DoSecundario(const RegistroLogSecundario& s) { return DaTabela(&s, kCamposSecundario); }

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
