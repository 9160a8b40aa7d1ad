// Queue names: the characters a name may not hold, the Windows device name
// and its 64-character limit (kept, so that names valid here are valid on
// the switch), and the socket file under <drive>/kovra/mailslot, resolved
// through the path layer so that every spelling of a name reaches one file.
#include <cstdio>
#include <cstring>
#include <string>

#include "biblkovra/msgqueue_interno.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_path.h"

namespace {

constexpr const char* kPrefixoDispositivo = "\\\\.\\mailslot\\";
constexpr const char* kProibidos = "<>\":|?*";

// Refuses forbidden and control characters, ".." as a component (a name
// must stay inside the queue directory), and a name whose last component is
// empty or "." (it names a directory, not a queue: "a/" would otherwise
// create the directory and fail as if another reader held it).
bool NomeValido(const char* nome) {
  if (nome == nullptr || nome[0] == '\0') return false;
  size_t inicio = 0;
  for (size_t i = 0;; ++i) {
    const unsigned char c = static_cast<unsigned char>(nome[i]);
    if (c == '\0' || c == '/' || c == '\\') {
      const size_t n = i - inicio;
      if (n == 2 && nome[inicio] == '.' && nome[inicio + 1] == '.') return false;
      if (c == '\0') return n > 0 && !(n == 1 && nome[inicio] == '.');
      inicio = i + 1;
      continue;
    }
    if (c < 0x20 || c == 0x7f || std::strchr(kProibidos, c) != nullptr) return false;
  }
}

}  // namespace

int PreparaNomeFila(NV_MsgQueue* fila, const char* nome, char* dir_sistema, size_t room) {
  if (!NomeValido(nome)) return NV_EINVAL;
  const size_t n = std::strlen(kPrefixoDispositivo) + std::strlen(nome);
  if (n > kTamMaxDispositivo) return NV_EINVAL;
  std::snprintf(fila->dispositivo, sizeof fila->dispositivo, "%s%s", kPrefixoDispositivo, nome);
  for (char* p = fila->dispositivo; *p; ++p)
    if (*p == '/') *p = '\\';

  std::string sistema = std::string(kDirFilas) + "/" + nome;
  for (char& c : sistema)
    if (c == '\\') c = '/';
  if (NV_ResolveCaminho(sistema.c_str(), fila->caminho, sizeof fila->caminho) != NV_OK)
    return NV_EINVAL;
  if (dir_sistema != nullptr) {
    const size_t barra = sistema.find_last_of('/');
    if (barra >= room) return NV_EINVAL;
    std::memcpy(dir_sistema, sistema.data(), barra);
    dir_sistema[barra] = '\0';
  }
  return NV_OK;
}

sockaddr_un EnderecoFila(const NV_MsgQueue* fila) {
  sockaddr_un end{};
  end.sun_family = AF_UNIX;
  static_assert(sizeof end.sun_path == sizeof fila->caminho);
  std::memcpy(end.sun_path, fila->caminho, sizeof end.sun_path);
  return end;
}

int NV_MsgQueueCaminho(const char* nome, char* saida, size_t room) {
  NV_MsgQueue f;
  const int rc = PreparaNomeFila(&f, nome, nullptr, 0);
  if (rc != NV_OK) return rc;
  if (room == 0 || std::strlen(f.caminho) >= room) return NV_ENAMETOOLONG;
  std::memcpy(saida, f.caminho, std::strlen(f.caminho) + 1);
  return NV_OK;
}
