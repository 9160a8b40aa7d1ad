// Reading the message-log spool files of a test drive.
#include "support/spool.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Bytes in front of the text in a spool file.
constexpr size_t kTamCabecalhoSpool = 8;

}  // namespace

std::vector<std::string> LinhasSpoolMensagem(const DriveTemp& drive) {
  std::vector<std::string> nomes;
  const fs::path dir = drive.caminho("kovra/tmp");
  if (!fs::exists(dir)) return {};
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".msg") nomes.push_back(e.path().filename().string());
  std::sort(nomes.begin(), nomes.end());
  std::vector<std::string> linhas;
  for (const std::string& nome : nomes) {
    const std::string reg = drive.le("kovra/tmp/" + nome);
    if (reg.size() > kTamCabecalhoSpool) linhas.emplace_back(reg.c_str() + kTamCabecalhoSpool);
  }
  return linhas;
}
