// Merged rewrite of an ini file through a temporary file and a rename.
//
// The temporary file is "ini" + six random characters + ".tmp" in the
// target's directory.  It takes the target's permission bits and is flushed
// to the disk before the rename, so the target is always either the old
// file or the whole new one, whatever happens to the machine.  If the
// target changed on disk while the merge was being written, the merge is
// done again from the new contents, so that another program's change is not
// lost (up to kTentativas times; then the write fails and is retried on the
// next use of the file).  A target without any write permission bit is
// read-only, like a file with the read-only attribute on the switch's own
// platform: it is not replaced, and the write fails with 13 (a rename would
// otherwise replace it regardless of its bits).
#include "services/ini_grava.h"

#include <sys/stat.h>

#include <cerrno>

#include "nvpr/nv_error.h"
#include "nvpr/nv_fileutil.h"
#include "services/ini_frescor.h"

namespace {

constexpr int kTentativas = 5;

// Removes the temporary file unless it was renamed.
class TemporarioIni {
 public:
  ~TemporarioIni() {
    if (nome.empty()) return;
    NV_FileClose(&arquivo);
    NV_Remove(nome.c_str(), true);
  }
  NV_Arquivo arquivo;
  std::string nome;   // as spelled from the target's directory; empty once renamed
};

// The target's permission bits, which the rewrite keeps; 13 when the target
// is read-only.
int PermissoesDoAlvo(NV_Arquivo* alvo, mode_t* modo) {
  struct stat st;
  if (fstat(alvo->fd, &st) != 0) return NV_ErroBiblioteca(errno);
  *modo = st.st_mode & 07777;
  return (*modo & 0222) == 0 ? NV_EACCES : 0;
}

// One attempt.  *mudou is set when the target changed under the merge.
int Tentativa(const std::string& caminho, const AlteracoesIni& alt, ResultadoCargaIni* res,
              bool* mudou) {
  *mudou = false;
  NV_Arquivo entrada;
  RegistroArquivo lido;
  int r = NV_FileOpen(&entrada, caminho.c_str(), NV_O_RDONLY);
  bool existe = r == 0;
  if (r == NV_ENOENT || r == NV_ENOTDIR) RegistroAusente(&lido);
  else if (r != 0) return r;
  if (existe && (r = LeRegistroHandle(&entrada, &lido)) != 0) return r;
  mode_t modo = 0;
  if (existe && (r = PermissoesDoAlvo(&entrada, &modo)) != 0) return r;

  std::string fim_linha = "\r\n";
  if (existe && (r = DetectaFimDeLinha(&entrada, &fim_linha)) != 0) return r;

  std::string dir = DiretorioDoCaminho(caminho);
  TemporarioIni tmp;
  // The name comes back spelled from `dir`, as the rename needs it.
  char nome_tmp[4096];
  r = NV_ArquivoTemporario(dir.c_str(), "ini", 6, ".tmp", &tmp.arquivo, nome_tmp,
                           sizeof nome_tmp);
  if (r != 0) return r;
  tmp.nome = nome_tmp;
  if (existe) fchmod(tmp.arquivo.fd, modo);

  EscritorIni saida(&tmp.arquivo);
  r = PassoArquivoIni(existe ? &entrada : nullptr, &alt, &saida, fim_linha, &res->secoes);
  if (r == 0) r = saida.Descarrega();
  if (r == 0) r = NV_FileFlush(&tmp.arquivo);
  if (r != 0) return r;

  if (cache_ini.gancho_antes_de_renomear) cache_ini.gancho_antes_de_renomear(caminho);
  RegistroArquivo agora;
  r = LeRegistroCaminho(caminho.c_str(), nullptr, &agora);
  if (r != 0) return r;
  if (!RegistrosIguais(agora, lido)) {
    *mudou = true;
    return 0;
  }
  r = NV_Renomeia(tmp.nome.c_str(), caminho.c_str(), NV_RENOMEIA_SUBSTITUI);
  if (r != 0) return r;
  tmp.nome.clear();
  // The record is taken after the rename, which changes the status time.
  // The file is written either way: without a record the next use simply
  // reads it again.
  if (LeRegistroHandle(&tmp.arquivo, &res->registro) != 0) RegistroAusente(&res->registro);
  res->resolucao = ResolucaoDoAberto(caminho.c_str(), &tmp.arquivo);
  NV_FileClose(&tmp.arquivo);
  return 0;
}

}  // namespace

std::string DiretorioDoCaminho(const std::string& caminho) {
  size_t p = caminho.find_last_of("/\\");
  if (p == std::string::npos) return ".";
  if (p == 0) return caminho.substr(0, 1);
  return caminho.substr(0, p);
}

int GravaArquivoIni(const std::string& caminho, const AlteracoesIni& alt, ResultadoCargaIni* res) {
  for (int i = 0; i < kTentativas; ++i) {
    bool mudou = false;
    int r = Tentativa(caminho, alt, res, &mudou);
    if (r != 0 || !mudou) return r;
  }
  return NV_EAGAIN;
}
