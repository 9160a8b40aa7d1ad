// The audit trail of the real module fed through the real links: PDV
// requests carrying typed card numbers and a track 2, a terminal close, and
// a host 0210 with a card number in field 2 through the drivers.  After the
// stop, no file the run left on the drive holds a card number in clear, and
// kovtool gives back every record (plain and JSON), undamaged, with the card
// numbers reduced to their first six and last four digits.
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "e2e_apoio.h"
#include "support/processo.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

constexpr int kEsperaMs = 60000;

// The card numbers of the run, and what the trail may show of each.
struct Cartao {
  const char* numero;
  const char* visivel;   // first six and last four, the middle hidden
};
constexpr Cartao kCartaoPdv16 = {"4761739001010010", "476173******0010"};
constexpr Cartao kCartaoPdv19 = {"6363680000457713725", "636368*********3725"};
constexpr Cartao kCartaoHost = {"6062820001234567", "606282******4567"};
constexpr Cartao kCartoes[] = {kCartaoPdv16, kCartaoPdv19, kCartaoHost};

// A type-1 request of the given sub-type: the 30-byte header and data made
// of zero-terminated strings.
Bytes PedidoVenda(unsigned char subtipo, const std::vector<std::string>& textos) {
  std::string dados;
  for (const auto& t : textos) dados += t + '\0';
  return PedidoPdv(1, subtipo, dados);
}

std::string HexTexto(const std::string& s) {
  return HexMinusculo(Bytes(s.begin(), s.end()));
}

std::string LeArquivo(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Bytes of the hex text (the data of a JSON record).
std::string DeHex(const std::string& hex) {
  std::string s;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    s.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return s;
}

// The value after "\"name\":" in one JSON line, up to the next ',' or '}'
// (quotes removed).
std::string CampoJson(const std::string& linha, const std::string& nome) {
  const std::string chave = "\"" + nome + "\":";
  const size_t p = linha.find(chave);
  if (p == std::string::npos) return "";
  size_t i = p + chave.size();
  const bool aspas = i < linha.size() && linha[i] == '"';
  if (aspas) ++i;
  const size_t fim = aspas ? linha.find('"', i) : linha.find_first_of(",}", i);
  return fim == std::string::npos ? "" : linha.substr(i, fim - i);
}

std::vector<std::string> Linhas(const std::string& texto) {
  std::vector<std::string> v;
  std::istringstream in(texto);
  for (std::string l; std::getline(in, l);)
    if (!l.empty()) v.push_back(l);
  return v;
}

class AuditoriaE2e : public E2eTeste {
 protected:
  // Every regular file under the drive root, but the key this test wrote.
  std::vector<fs::path> ArquivosDoDrive() const {
    std::vector<fs::path> v;
    for (const auto& e : fs::recursive_directory_iterator(drive_.raiz()))
      if (e.is_regular_file() && e.path().filename() != "audit.key") v.push_back(e.path());
    return v;
  }
  std::vector<std::string> ArquivosAudit() const {
    std::vector<std::string> nomes;
    for (const auto& e : fs::directory_iterator(drive_.caminho("kovra/audit")))
      if (e.is_regular_file()) nomes.push_back(e.path().filename().string());
    return nomes;
  }
};

TEST_F(AuditoriaE2e, TrailOfARunGivesBackEveryRecordAndNoCardNumberInClear) {
#ifndef KOV_BIN_KOVTOOL
  GTEST_SKIP() << "kovtool is not built";
#else
  // The trail's key, owner-only as the writer demands.
  const std::string chave = "kovra/config/chaves/audit.key";
  drive_.escreve(chave, "# chave do teste\n00112233445566778899aabbccddeeff\n");
  fs::permissions(drive_.caminho(chave), fs::perms::owner_read | fs::perms::owner_write);

  const std::string trilha2 = std::string(kCartaoPdv16.numero) + "=25121011234567890";
  const Bytes digitado = PedidoVenda(0x10, {kCartaoPdv16.numero, "0411", "000000001500", "01"});
  const Bytes longo = PedidoVenda(0x10, {kCartaoPdv19.numero, "0512", "000000002500", "03"});
  const Bytes com_trilha = PedidoVenda(0x11, {trilha2, "000000000990", "01"});
  auto pdv = IniciaKovsim(
      "pdv", {"pdv", "--send-hex", HexMinusculo(digitado), "--send-hex", HexMinusculo(longo),
              "--send-hex", HexMinusculo(com_trilha), "--close", "--terminal", "T0000001",
              "--company", "00000001", "--subtype", "2", "--count", "2", "--wait", "30000"});
  auto modulo = IniciaModulo();
  int status = -1;
  ASSERT_TRUE(pdv->Espera(kEsperaMs, &status));
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Saida("pdv.err") << Saida("modulo.err");
  ASSERT_NE(Saida("pdv.out").find("\"Terminal Fechado\""), std::string::npos) << Saida("pdv.out");

  // A host answer carrying field 2 (bits 2, 3 and 4 of the primary bitmap).
  const std::string resposta = std::string("0210" "7000000000000000" "16") + kCartaoHost.numero +
                               "003000" "000000001500";
  ASSERT_EQ(ExecutaKovsim("drivers", {"drivers", "--inject-hex", HexTexto(resposta), "--wait", "200"}), 0)
      << Saida("drivers.err");
  const std::string chegou = "RxHost: msg do Host de " + std::to_string(resposta.size()) + " bytes";
  ASSERT_TRUE(EsperaAte([&] { return Saida("modulo.err").find(chegou) != std::string::npos; }, kEsperaMs))
      << Saida("modulo.err");
  ParaModulo(modulo.get());

  // (a) No card number in clear in any byte the run left on the drive.
  for (const fs::path& p : ArquivosDoDrive()) {
    const std::string bytes = LeArquivo(p);
    for (const Cartao& c : kCartoes)
      EXPECT_EQ(bytes.find(c.numero), std::string::npos) << c.numero << " in clear in " << p;
  }

  // (b) Every record comes back, checked and deciphered.
  const std::vector<std::string> nomes = ArquivosAudit();
  ASSERT_FALSE(nomes.empty());
  std::map<int, int> por_tipo;
  std::string texto_todo, dados_json;
  for (const std::string& nome : nomes) {
    const std::string arquivo = "/kovra/audit/" + nome;
    const SaidaProcesso texto = ExecutaProcesso({KOV_BIN_KOVTOOL, "audit", "read", arquivo});
    ASSERT_EQ(texto.status, 0) << texto.out << texto.err;
    const SaidaProcesso json = ExecutaProcesso({KOV_BIN_KOVTOOL, "audit", "read", arquivo, "--json"});
    ASSERT_EQ(json.status, 0) << json.out << json.err;
    texto_todo += texto.out;
    std::vector<std::string> linhas_texto = Linhas(texto.out);
    const std::vector<std::string> linhas_json = Linhas(json.out);
    // The plain reading ends with its summary line.
    ASSERT_FALSE(linhas_texto.empty());
    EXPECT_EQ(linhas_texto.back(), std::to_string(linhas_json.size()) + " records, 0 damaged");
    linhas_texto.pop_back();
    EXPECT_EQ(linhas_texto.size(), linhas_json.size());
    for (const std::string& l : linhas_json) {
      EXPECT_EQ(CampoJson(l, "ok"), "true") << l;
      ++por_tipo[std::stoi(CampoJson(l, "kind"))];
      dados_json += DeHex(CampoJson(l, "data")) + "\n";
    }
    for (const std::string& l : linhas_texto)
      EXPECT_EQ(l.find("fails its check"), std::string::npos) << l;
  }
  // The three requests and the close (50), the announcement and the close's
  // reply (49) and the host envelope (52).  The activation banner (kind 0)
  // waits for the master key check, which this build does not pass yet.
  EXPECT_EQ(por_tipo[50], 4);
  EXPECT_EQ(por_tipo[49], 2);
  EXPECT_EQ(por_tipo[52], 1);
  EXPECT_NE(texto_todo.find("Terminal Fechado"), std::string::npos) << texto_todo;
  EXPECT_NE(texto_todo.find(kCartaoHost.visivel), std::string::npos) << texto_todo;
  EXPECT_NE(dados_json.find(kCartaoHost.visivel), std::string::npos);
  for (const Cartao& c : kCartoes) {
    EXPECT_EQ(texto_todo.find(c.numero), std::string::npos) << c.numero << "\n" << texto_todo;
    EXPECT_EQ(dados_json.find(c.numero), std::string::npos) << c.numero;
  }
#endif
}

}  // namespace
