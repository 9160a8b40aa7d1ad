// kovtool iso: ISO 8583 messages of the host dialect.
//   iso decode HEX|@FILE [--json]  splits a message (hex of its bytes, or a
//       file holding the raw message): its type, its bitmap in hex, then one
//       line per present field, "NNN " and the characters as received.  With
//       --json one object with "mti", "bitmap" and "fields" ("002".."128").
//       An invalid message gives its reason and exit status 1.
//   iso encode MTI NNN=VALUE ...  packs a message with the module's field
//       table (type b values as hex; field 1 is added for fields above 64)
//       and prints the message as hex.  A value its type refuses gives the
//       codec's text and exit status 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "comandos.h"
#include "hostmsg/iso_texto.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "services/json.h"
#include "services/texto.h"

namespace {

// Enough to see that a message is longer than the receive buffer.
constexpr size_t kMaxArquivo = 65536;

// The message bytes of the argument: hex text, or "@" and a file name.
bool LeMensagem(const char* arg, std::string* msg) {
  if (arg[0] == '@') {
    NV_Arquivo f;
    int rc = NV_FileOpen(&f, arg + 1, NV_O_RDONLY);
    if (rc != NV_OK) {
      ErroUso("iso decode: %s: %s", arg + 1, NV_NomeErro(rc));
      return false;
    }
    msg->assign(kMaxArquivo, '\0');
    size_t lidos = 0;
    rc = NV_FileRead(&f, msg->data(), msg->size(), &lidos);
    if (rc != NV_OK) {
      ErroUso("iso decode: %s: %s", arg + 1, NV_NomeErro(rc));
      return false;
    }
    msg->resize(lidos);
    return true;
  }
  size_t n = std::strlen(arg);
  msg->assign(n / 2, '\0');
  if (n == 0 || n % 2 != 0 || HexParaBytes(arg, n, msg->data(), msg->size()) != 0) {
    ErroUso("iso decode: '%s' is not an even number of hexadecimal digits", arg);
    return false;
  }
  return true;
}

int Decodifica(int argc, char** argv) {
  const char* entrada = nullptr;
  bool json = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0) json = true;
    else if (entrada != nullptr) return ErroUso("iso decode: one message only");
    else entrada = argv[i];
  }
  if (entrada == nullptr) return ErroUso("iso decode: HEX or @FILE missing");
  std::string bytes;
  if (!LeMensagem(entrada, &bytes)) return 2;

  MensagemTexto msg;
  std::string motivo;
  if (!DecodificaIso(bytes.data(), bytes.size(), &msg, &motivo)) {
    std::fprintf(stderr, "kovtool: iso decode: invalid message: %s\n", motivo.c_str());
    return 1;
  }
  if (!json) {
    std::printf("%s\n%s\n", msg.tipo.c_str(), msg.bitmap.c_str());
    for (const CampoTexto& c : msg.campos)
      std::printf("%03d %.*s\n", c.numero, static_cast<int>(c.valor.size()), c.valor.data());
    return 0;
  }
  std::string out = "{\"mti\":";
  out.append(TextoJson(msg.tipo)).append(",\"bitmap\":").append(TextoJson(msg.bitmap)).append(",\"fields\":{");
  for (size_t i = 0; i < msg.campos.size(); ++i) {
    char chave[8];
    std::snprintf(chave, sizeof chave, "%03d", msg.campos[i].numero);
    out.append(i > 0 ? "," : "").append(TextoJson(chave)).append(":").append(TextoJson(msg.campos[i].valor));
  }
  std::printf("%s}}\n", out.c_str());
  return 0;
}

int Codifica(int argc, char** argv) {
  if (argc < 3) return ErroUso("iso encode: usage: iso encode MTI NNN=VALUE ...");
  std::vector<CampoTexto> campos;
  for (int i = 3; i < argc; ++i) {
    const char* igual = std::strchr(argv[i], '=');
    size_t digitos = igual != nullptr ? static_cast<size_t>(igual - argv[i]) : 0;
    bool numero = digitos >= 1 && digitos <= 3 && std::strspn(argv[i], "0123456789") == digitos;
    if (!numero) return ErroUso("iso encode: '%s' is not NNN=VALUE", argv[i]);
    campos.push_back(CampoTexto{std::atoi(argv[i]), std::string(igual + 1)});
  }
  std::string msg, motivo;
  int rc = CodificaIso(argv[2], campos, &msg, &motivo);
  if (rc == 2) return ErroUso("iso encode: %s", motivo.c_str());
  if (rc != 0) {
    std::fprintf(stderr, "kovtool: iso encode: %s\n", motivo.c_str());
    return 1;
  }
  std::printf("%s\n", ParaHex(msg).c_str());
  return 0;
}

}  // namespace

int CmdIso(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "decode") == 0) return Decodifica(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "encode") == 0) return Codifica(argc, argv);
  return ErroUso("iso: usage: iso decode HEX|@FILE [--json] | iso encode MTI NNN=VALUE ...");
}
