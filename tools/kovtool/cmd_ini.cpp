// kovtool ini: reads and writes configuration values through the module's
// own ini cache, so the tool sees and writes exactly what the module does.
//   ini get PATH SECTION KEY [DEFAULT]   the value (4096-byte buffer)
//   ini int PATH SECTION KEY DEFAULT     the value as LeIniInt reads it
//   ini set PATH SECTION KEY VALUE       writes it; exit 1 when it failed
//   ini sections PATH                    section names, one a line
//   ini keys PATH SECTION                key names of a section, one a line
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "comandos.h"
#include "nvpr/nv_fileutil.h"
#include "services/ini.h"

namespace {

// The listing, in a buffer grown until it fits.  A result of 0 is either an
// empty list or one that did not fit; a buffer larger than any listing the
// file can give (each name comes from a line at least one byte longer than
// it) settles which.
std::vector<std::string> Listagem(const char* secao, const char* caminho) {
  NV_InfoArquivo info;
  size_t limite = 65536;
  if (NV_InfoArquivoCaminho(caminho, NV_INFO_TAMANHO, &info) == 0 && info.tamanho > 0)
    limite = std::max(limite, 2 * static_cast<size_t>(info.tamanho) + 8192);
  std::vector<char> buf(65536);
  int n = 0;
  for (;;) {
    n = LeIniString(secao, nullptr, "", buf.data(), buf.size(), caminho);
    if (n > 0 || buf.size() >= limite) break;
    buf.resize(std::min(buf.size() * 2, limite));
  }
  std::vector<std::string> nomes;
  for (int i = 0; i < n;) {
    std::string nome(buf.data() + i);
    i += static_cast<int>(nome.size()) + 1;
    nomes.push_back(nome);
  }
  return nomes;
}

bool ParaInt(const char* s, int* v) {
  errno = 0;
  char* fim = nullptr;
  long n = std::strtol(s, &fim, 10);
  if (*s == '\0' || *fim != '\0' || errno != 0 || n < INT_MIN || n > INT_MAX) return false;
  *v = static_cast<int>(n);
  return true;
}

int Get(int argc, char** argv) {
  if (argc != 4 && argc != 5) return ErroUso("ini get: expected PATH SECTION KEY [DEFAULT]");
  char valor[4096];
  LeIniString(argv[2], argv[3], argc == 5 ? argv[4] : "", valor, sizeof valor, argv[1]);
  std::printf("%s\n", valor);
  return 0;
}

int Int(int argc, char** argv) {
  int padrao = 0;
  if (argc != 5) return ErroUso("ini int: expected PATH SECTION KEY DEFAULT");
  if (!ParaInt(argv[4], &padrao)) return ErroUso("ini int: DEFAULT '%s' is not an integer", argv[4]);
  std::printf("%d\n", LeIniInt(argv[2], argv[3], padrao, argv[1]));
  return 0;
}

int Set(int argc, char** argv) {
  if (argc != 5) return ErroUso("ini set: expected PATH SECTION KEY VALUE");
  if (GravaIniString(argv[2], argv[3], argv[4], argv[1]) == 1) return 0;
  std::fprintf(stderr, "kovtool: ini set: could not write [%s] %s to %s\n", argv[2], argv[3],
               argv[1]);
  return 1;
}

int Sections(int argc, char** argv) {
  if (argc != 2) return ErroUso("ini sections: expected PATH");
  for (const auto& n : Listagem(nullptr, argv[1])) std::printf("%s\n", n.c_str());
  return 0;
}

int Keys(int argc, char** argv) {
  if (argc != 3) return ErroUso("ini keys: expected PATH SECTION");
  for (const auto& n : Listagem(argv[2], argv[1])) std::printf("%s\n", n.c_str());
  return 0;
}

const struct {
  const char* nome;
  int (*funcao)(int, char**);
} kSub[] = {
    {"get", Get}, {"int", Int}, {"set", Set}, {"sections", Sections}, {"keys", Keys},
};

}  // namespace

int CmdIni(int argc, char** argv) {
  if (argc < 2) return ErroUso("ini: expected get, int, set, sections or keys");
  for (const auto& s : kSub)
    if (std::strcmp(argv[1], s.nome) == 0) return s.funcao(argc - 1, argv + 1);
  return ErroUso("ini: unknown operation '%s' (get, int, set, sections, keys)", argv[1]);
}
