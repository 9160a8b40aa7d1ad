// File-system operations with policies of their own: existence, recursive
// directory creation, file information, rename with retries, a delete that
// frees the name at once, unique temporary files and directory listings.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "nvpr/nv_file.h"
#include "nvpr/nv_time.h"

// 1 if the path names an existing file or directory, else 0.
int ExisteArquivo(const char* caminho);

// Creates one directory, or with `recursivo` every missing level.  20 when a
// level exists and is not a directory; 17 when the (non-recursive) directory
// already exists.
int NV_CriaDiretorio(const char* caminho, bool recursivo);

enum : unsigned {
  NV_INFO_ID      = 0x01,
  NV_INFO_TAMANHO = 0x02,
  NV_INFO_TIPO    = 0x04,
  NV_INFO_MODIF   = 0x08,
  NV_INFO_CRIACAO = 0x10,
  NV_INFO_ACESSO  = 0x20,
  NV_INFO_NOME    = 0x40,
  NV_INFO_UTC     = 0x100,   // times in UTC instead of local time
  NV_INFO_TUDO    = 0x7f,
};

struct NV_InfoArquivo {
  unsigned presentes = 0;    // NV_INFO_* bits filled
  uint64_t id = 0;           // file identity: inode, with the device folded in
  uint64_t dispositivo = 0;
  int64_t tamanho = 0;
  bool diretorio = false;
  bool regular = false;
  NV_DataHora modificacao{};
  NV_DataHora criacao{};     // Linux: the status-change time
  NV_DataHora acesso{};
  int64_t modificacao_ms = 0;   // the same times as milliseconds since 1970 UTC
  int64_t criacao_ms = 0;
  int64_t acesso_ms = 0;
  std::string nome;
};

int NV_InfoArquivoCaminho(const char* caminho, unsigned itens, NV_InfoArquivo* info);
int NV_InfoArquivoHandle(NV_Arquivo* f, unsigned itens, NV_InfoArquivo* info);

enum : int {
  NV_RENOMEIA_SUBSTITUI = 0x1,     // replace an existing target
  NV_RENOMEIA_NAO_SUBSTITUI = 0x2, // fail with 17 when the target exists
};
// Both flags together are refused with 22.
int NV_Renomeia(const char* antigo, const char* novo, int flags);

// Removes a file.  The plain form unlinks it; the other renames it to
// "rm" + six random characters first, so the name is free at once even while
// another handle keeps it open.
int NV_Remove(const char* caminho, bool simples);

// Creates and opens (read-write, exclusive) a new file named
// dir + "/" + prefixo + `aleatorios` random characters + sufixo.  The chosen
// name goes to nome (room bytes; may be null), spelled like `dir` so that it
// reaches the same file through every other run-time call (NV_Renomeia,
// NV_Remove, ...); NV_Caminho gives its Linux path.  36 when it would not
// fit in nome, 22 for more than 255 random characters.
int NV_ArquivoTemporario(const char* dir, const char* prefixo, int aleatorios,
                         const char* sufixo, NV_Arquivo* f, char* nome, size_t room);

struct NV_EntradaDiretorio {
  std::string nome;
  NV_InfoArquivo info;
};
// The entries of `dir` whose names match the wildcard `padrao` ("*", "?",
// without regard to case), without "." and "..", sorted by name.
int NV_ListaDiretorio(const char* dir, const char* padrao,
                      std::vector<NV_EntradaDiretorio>* saida);
