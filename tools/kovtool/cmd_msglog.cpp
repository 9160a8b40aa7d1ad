// kovtool msglog [DIR]: the message-log lines waiting in the spool for the
// switch's collector, one per file in number order: the file name, the
// origin name and the text.  DIR defaults to the spool directory under the
// drive root.  The files are only read, never moved or deleted.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "comandos.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_fileutil.h"
#include "services/texto.h"
#include "services/trace.h"

namespace {

// The number of a spool name "arq_NNNN.msg" in any letter case (the
// module's writer counts "ARQ_0003.MSG" as taking number 3), or -1 for any
// other name.
int NumeroSpool(const std::string& nome) {
  if (nome.size() != 12 || ComparaSemCasoN(nome.c_str(), "arq_", 4) != 0 ||
      ComparaSemCaso(nome.c_str() + 8, ".msg") != 0)
    return -1;
  int n = 0;
  for (size_t i = 4; i < 8; ++i) {
    if (nome[i] < '0' || nome[i] > '9') return -1;
    n = n * 10 + (nome[i] - '0');
  }
  return n;
}

// A field of the record up to its first zero byte, with control bytes shown
// as "." so that each line stays one line.
std::string Campo(const char* p, size_t tam) {
  std::string s(p, strnlen(p, tam));
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '.';
  return s;
}

// Prints one spool file; false when it is not a spool record.
bool MostraArquivo(const std::string& dir, const std::string& nome) {
  const std::string caminho = dir + "/" + nome;
  NV_Arquivo f;
  char reg[kTamRegistroSpool + 1];
  size_t lidos = 0;
  int rc = NV_FileOpen(&f, caminho.c_str(), NV_O_RDONLY);
  if (rc == NV_OK) rc = NV_FileRead(&f, reg, sizeof reg, &lidos);
  if (rc != NV_OK) {
    std::fprintf(stderr, "kovtool: msglog: %s: %s\n", nome.c_str(), NV_NomeErro(rc));
    return false;
  }
  if (lidos != kTamRegistroSpool) {
    std::fprintf(stderr, "kovtool: msglog: %s: not a %zu-byte message-log record\n", nome.c_str(),
                 kTamRegistroSpool);
    return false;
  }
  std::printf("%s  %-8s  %s\n", nome.c_str(), Campo(reg, 8).c_str(), Campo(reg + 8, 256).c_str());
  return true;
}

}  // namespace

int CmdMsglog(int argc, char** argv) {
  if (argc > 2) return ErroUso("msglog takes at most one directory: kovtool msglog [DIR]");
  const std::string dir = argc == 2 ? argv[1] : kDirSpool;
  if (dir.empty()) return ErroUso("msglog: empty directory name");
  std::vector<NV_EntradaDiretorio> entradas;
  const int rc = NV_ListaDiretorio(dir.c_str(), "arq_????.msg", &entradas);
  if (rc != NV_OK) {
    std::fprintf(stderr, "kovtool: msglog: cannot list %s: %s\n", dir.c_str(), NV_NomeErro(rc));
    return 1;
  }
  std::vector<std::pair<int, std::string>> arquivos;
  for (const auto& e : entradas) {
    const int n = NumeroSpool(e.nome);
    if (n >= 0) arquivos.emplace_back(n, e.nome);
  }
  std::sort(arquivos.begin(), arquivos.end());
  bool todos = true;
  for (const auto& a : arquivos) todos = MostraArquivo(dir, a.second) && todos;
  return todos ? 0 : 1;
}
