// Finding the files of a date: the key, the directory, the primary and
// secondary names, opening or creating them, and the open-file table.
#include "txlog/arquivos_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_process.h"
#include "txlog/datas_log.h"
#include "txlog/slots_log.h"

namespace {

constexpr const char* kVersaoArquivo = "0200";

// A company code or terminal identity becomes a directory name: refuse the
// characters that would leave or split the directory and codes made of dots.
bool NomeValido(const char* s, size_t n) {
  bool so_pontos = true;
  for (size_t i = 0; i < n; i++) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c > 0x7e || std::strchr("/\\:*?\"<>|", c) != nullptr) return false;
    if (c != '.') so_pontos = false;
  }
  return !so_pontos;
}

// Copies a fixed-width code of up to 8 characters (a zero ends it early).
size_t CopiaCodigo(const char* origem, char destino[9]) {
  size_t n = 0;
  while (n < 8 && origem[n] != '\0') {
    destino[n] = origem[n];
    n++;
  }
  destino[n] = '\0';
  return n;
}

// The file names of a key: the primary candidates in the order tried (the
// last one is created) and the secondary name.
struct NomesLog {
  char dir[kTamCaminhoLog];
  char primario[2][kTamCaminhoLog];
  int num_primarios = 0;
  char secundario[kTamCaminhoLog];
};

int MontaNomes(const char* emp, const char* term, int data, NomesLog* n) {
  const EstadoLog& e = g_log;
  int rc = DiretorioLog(emp, term, data, n->dir, sizeof n->dir);
  if (rc != 0) return rc;
  const int mes = MesDe(data), dia = DiaDe(data);
  auto nome = [&](char* saida, const char* prefixo, const char* ext) {
    const int r = std::snprintf(saida, kTamCaminhoLog, "%s/%s%02d%02d.%s", n->dir, prefixo, mes,
                                dia, ext);
    return r > 0 && static_cast<size_t>(r) < kTamCaminhoLog;
  };
  bool ok = nome(n->primario[0], "LOG_", e.ext_principal);
  n->num_primarios = 1;
  if (e.por_rede) {
    char ext_rede[16];
    std::snprintf(ext_rede, sizeof ext_rede, "%03u", static_cast<unsigned>(e.def.RedeLog));
    ok = ok && nome(n->primario[1], "LOG_", ext_rede);
    n->num_primarios = 2;
  }
  if (e.tem_secundario) ok = ok && nome(n->secundario, "EXT_", e.ext_secundaria);
  return ok ? 0 : NV_ENAMETOOLONG;
}

// Opens an existing log file; one shorter than one record counts as not
// opened (61) and is closed.
int AbreExistente(const char* caminho, int tam, NV_Arquivo* f) {
  int rc = NV_FileOpen(f, caminho, NV_O_RDWR);
  if (rc != NV_OK) return rc;
  int64_t tamanho = 0;
  rc = NV_FileSize(f, &tamanho);
  if (rc == NV_OK && tamanho < tam) rc = LOG_ARQUIVO_CURTO;
  if (rc != NV_OK) NV_FileClose(f);
  return rc;
}

// Creates a log file with its header slot and `reservados` zero slots.  The
// file is written complete under a temporary name in the same directory and
// then renamed into place without replacing, so that the other processes
// never see it half made; 17 when the name exists meanwhile.
int CriaArquivoLog(const char* dir, const char* caminho, int tam, int64_t reservados, int data) {
  NV_Arquivo f;
  char temp[kTamCaminhoLog];
  int rc = NV_ArquivoTemporario(dir, "LOG_novo_", 6, ".tmp", &f, temp, sizeof temp);
  if (rc != NV_OK) return rc;
  char cabecalho[32];
  std::snprintf(cabecalho, sizeof cabecalho, "%02d/%02d/%02d %s", DiaDe(data), MesDe(data),
                AnoDe(data) % 100, kVersaoArquivo);
  size_t escritos = 0;
  rc = NV_FileWriteAt(&f, 0, cabecalho, std::strlen(cabecalho) + 1, &escritos);
  if (rc == NV_OK) rc = EstendeComZeros(&f, (1 + reservados) * tam);
  if (rc == NV_OK) rc = NV_FileFlush(&f);
  NV_FileClose(&f);
  if (rc == NV_OK) rc = NV_Renomeia(temp, caminho, NV_RENOMEIA_NAO_SUBSTITUI);
  if (rc != NV_OK) NV_Remove(temp, true);
  return rc;
}

// Opens the first primary candidate that exists.  0; 61 when one exists but
// is still short (being created elsewhere); else the error of the last one.
int AbrePrimario(const NomesLog& n, NV_Arquivo* f) {
  int rc = NV_ENOENT;
  bool curto = false;
  for (int i = 0; i < n.num_primarios; i++) {
    rc = AbreExistente(n.primario[i], g_log.def.TamanhoPrincipal, f);
    if (rc == NV_OK) return rc;
    curto = curto || rc == LOG_ARQUIVO_CURTO;
  }
  return curto ? LOG_ARQUIVO_CURTO : rc;
}

// Opens an existing file, or creates it and opens it.
int AbreOuCria(const char* dir, const char* caminho, int tam, int64_t reservados, int data,
               NV_Arquivo* f) {
  int rc = AbreExistente(caminho, tam, f);
  if (rc != NV_ENOENT) return rc;
  rc = CriaArquivoLog(dir, caminho, tam, reservados, data);
  if (rc != NV_OK && rc != NV_EEXIST) return rc;
  return AbreExistente(caminho, tam, f);
}

// One attempt at both files.
int TentaAbrir(const NomesLog& n, int data, bool cria, NV_Arquivo* p, NV_Arquivo* s) {
  const EstadoLog& e = g_log;
  int rc = AbrePrimario(n, p);
  if (rc == NV_ENOENT && cria)
    rc = AbreOuCria(n.dir, n.primario[n.num_primarios - 1], e.def.TamanhoPrincipal,
                    e.offset_ligado ? e.offset_nsu : 0, data, p);
  if (rc != NV_OK || !e.tem_secundario) return rc;
  // The secondary file is created with its header slot when missing, also
  // for a read, so that a primary file made by another process is usable.
  rc = AbreOuCria(n.dir, n.secundario, e.def.TamanhoSecundario, 0, data, s);
  if (rc != NV_OK) NV_FileClose(p);
  return rc;
}

bool MenorChave(const ArquivoAbertoLog& a, int data, const char* emp, const char* term) {
  if (a.data != data) return a.data < data;
  if (const int c = std::strcmp(a.empresa, emp); c != 0) return c < 0;
  return std::strcmp(a.terminal, term) < 0;
}

}  // namespace

bool DataPorEmpresa(int data) { return g_log.por_empresa && data >= g_log.data_inicio; }

int ChaveArquivosLog(const char* empresa, const char* terminal, int data, char emp[9],
                     char term[9]) {
  const EstadoLog& e = g_log;
  term[0] = '\0';
  if (e.por_terminal) {
    if (terminal == nullptr || terminal[0] == '\0') return LOG_SEM_TERMINAL;
    if (!NomeValido(term, CopiaCodigo(terminal, term))) return -NV_EINVAL;
  }
  if (!DataPorEmpresa(data)) {
    std::memcpy(emp, "00000000", 9);
    return 0;
  }
  if (empresa == nullptr || !NomeValido(emp, CopiaCodigo(empresa, emp))) return -NV_EINVAL;
  return 0;
}

int DiretorioLog(const char* emp, const char* term, int data, char* dir, size_t room) {
  const EstadoLog& e = g_log;
  int r;
  if (!DataPorEmpresa(data)) r = std::snprintf(dir, room, "%s", e.raiz);
  else if (e.por_terminal) r = std::snprintf(dir, room, "%s/empresas/%s/%s", e.raiz, emp, term);
  else r = std::snprintf(dir, room, "%s/empresas/%s", e.raiz, emp);
  return r > 0 && static_cast<size_t>(r) < room ? 0 : NV_ENAMETOOLONG;
}

int AbreArquivosLog(const char* emp, const char* term, int data, bool cria, NV_Arquivo* principal,
                    NV_Arquivo* secundario, bool* tem_secundario) {
  NomesLog nomes;
  int rc = MontaNomes(emp, term, data, &nomes);
  if (rc != 0) return -rc;
  // Only an operation that may create the day's files creates directories:
  // a read of a missing directory finds no file and leaves nothing behind.
  if (cria) NV_CriaDiretorio(nomes.dir, true);
  const int tentativas = cria ? std::max(1, g_log.tentativas_abertura) : 1;
  for (int t = 0; t < tentativas; t++) {
    if (t > 0) NV_Sleep(g_log.intervalo_abertura_ms);
    rc = TentaAbrir(nomes, data, cria, principal, secundario);
    if (rc == NV_OK) {
      *tem_secundario = g_log.tem_secundario;
      return 0;
    }
  }
  return -rc;
}

int ArquivosDaData(const char* empresa, const char* terminal, int data, bool cria, int64_t agora,
                   ArquivoAbertoLog** entrada) {
  char emp[9], term[9];
  int rc = ChaveArquivosLog(empresa, terminal, data, emp, term);
  if (rc != 0) return rc;
  auto& tab = g_log.arquivos;
  auto pos = std::lower_bound(tab.begin(), tab.end(), 0, [&](const ArquivoAbertoLog& a, int) {
    return MenorChave(a, data, emp, term);
  });
  if (pos != tab.end() && pos->data == data && std::strcmp(pos->empresa, emp) == 0 &&
      std::strcmp(pos->terminal, term) == 0) {
    pos->ultimo_uso = agora;
    *entrada = &*pos;
    return 0;
  }
  ArquivoAbertoLog novo;
  rc = AbreArquivosLog(emp, term, data, cria, &novo.principal, &novo.secundario,
                       &novo.tem_secundario);
  if (rc != 0) return rc;
  std::memcpy(novo.empresa, emp, sizeof emp);
  std::memcpy(novo.terminal, term, sizeof term);
  novo.data = data;
  novo.ultimo_uso = agora;
  // The table grows 1000 entries at a time up to its bound; past it, the
  // entry at its start (the oldest date) is closed and its place reused.
  if (!CresceTabela(&tab, g_log.max_arquivos)) {
    if (tab.empty()) return -NV_ENOMEM;
    tab.erase(tab.begin());
  }
  pos = std::lower_bound(tab.begin(), tab.end(), 0, [&](const ArquivoAbertoLog& a, int) {
    return MenorChave(a, data, emp, term);
  });
  pos = tab.insert(pos, std::move(novo));
  *entrada = &*pos;
  return 0;
}

void FechaArquivosAte(int data) {
  auto& tab = g_log.arquivos;
  tab.erase(std::remove_if(tab.begin(), tab.end(),
                           [data](const ArquivoAbertoLog& a) { return a.data <= data; }),
            tab.end());
}
