// The mirror (export) log writer.  At its first call it creates the export
// directory and reads the switch "GeraEspelhoLog" once for the life of the
// process; with the switch on, every record the transaction log hands over
// is appended to the day's export file under a lock on the file's first
// byte, so the switch's other processes that append to the same file take
// turns.  A failure never stops the log operation: it goes to the audit
// trail and the message log, and that record is not written later.
#include "basico/espelho.h"

#include <cstdio>
#include <cstring>

#include "basico/espelho_registro.h"
#include "basico/rot_arqs_bytes.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_filelock.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "services/trace.h"

namespace {

constexpr int kTentativasAbertura = 101;
constexpr int kTentativasTrava = 301;
constexpr int kTentativasEscrita = 101;
constexpr int kPausaPadraoMs = 50;
constexpr size_t kMaxRegistroEspelho = 0xFFFF + 2;
constexpr size_t kMaxTextoFalha = 124;
constexpr const char* kFonteEspelho = "basico\\espelho";
constexpr uint8_t kTipoAuditFalha = 65;   // 'A': code and message of a failure

enum EtapaEspelho : int { kEtapaOpen, kEtapaLock, kEtapaSeek, kEtapaWrite, kEtapaUnlock };

struct FalhaEspelho {
  const char* mensagem;
  uint8_t tipo;   // audit kind of the failed record's copy
};
constexpr FalhaEspelho kFalhas[] = {
    {"Erro open log exportacao", 66},   {"Erro lock log exportacao", 67},
    {"Erro seek log exportacao", 68},   {"Erro write log exportacao", 69},
    {"Erro unlock log exportacao", 70},
};

struct EstadoEspelho {
  NV_Mutex mutex;
  bool preparado = false;        // directory made, switch and extension fixed
  bool ligado = false;
  char extensao[4] = {};
  int pausa_ms = kPausaPadraoMs;
  uint8_t registro[kMaxRegistroEspelho] = {};   // the record being written
};
EstadoEspelho g_espelho;

void Prepara(EstadoEspelho& s, int rede) {
  if (s.preparado) return;
  NV_CriaDiretorio(kDiretorioEspelho, false);
  s.ligado = LeIniInt("EspelhoLog", "GeraEspelhoLog", 0, kArquivoConfigEspelho) != 0;
  if (rede == 112 || rede == 125 || rede == 901)
    std::snprintf(s.extensao, sizeof s.extensao, "%03d", rede);
  else
    std::memcpy(s.extensao, "log", 4);
  s.preparado = true;
}

// The three reports of a failed write: the code and message, the record
// itself (its card number masked), and the message-log line.
void Reporta(EstadoEspelho& s, EtapaEspelho etapa, int rc, size_t total) {
  const FalhaEspelho& f = kFalhas[etapa];
  uint8_t dados[4 + kMaxTextoFalha];
  GravaU32(dados, static_cast<uint32_t>(rc));
  size_t n = strnlen(f.mensagem, kMaxTextoFalha);
  std::memcpy(dados + 4, f.mensagem, n);
  GravaAudit(kTipoAuditFalha, dados, 4 + n, nullptr, 0, kFonteEspelho, 0);
  const MascaraAudit cartao{
      static_cast<uint16_t>(sizeof(CabecalhoEspelho) + kPosCartaoPrincipalEspelho),
      static_cast<uint16_t>(kTamCartaoPrincipalEspelho)};
  GravaAudit(f.tipo, s.registro, total, &cartao, 1, kFonteEspelho, 0);
  EscreveMensagem(f.mensagem);
}

int Abre(EstadoEspelho& s, const char* nome, NV_Arquivo* f) {
  int rc = NV_OK;
  for (int i = 0; i < kTentativasAbertura; ++i) {
    rc = NV_FileOpen(f, nome, NV_O_WRONLY | NV_O_CREAT);
    if (rc == NV_OK) return rc;
    if (i + 1 < kTentativasAbertura) NV_Sleep(s.pausa_ms);
  }
  return rc;
}

int Trava(EstadoEspelho& s, NV_Arquivo* f) {
  int rc = NV_OK;
  for (int i = 0; i < kTentativasTrava; ++i) {
    rc = NV_FileLock(f, 0, 1, NV_LOCK_EXTENDIDO | NV_LOCK_EXCLUSIVO);
    if (rc == NV_OK) return rc;
    if (i + 1 < kTentativasTrava) NV_Sleep(s.pausa_ms);
  }
  return rc;
}

// Each try writes the whole record at the end found under the lock; what a
// failed try left is cut off first, so the file never holds a torn record.
int Escreve(EstadoEspelho& s, NV_Arquivo* f, int64_t fim, size_t total) {
  int rc = NV_OK;
  for (int i = 0; i < kTentativasEscrita; ++i) {
    size_t escritos = 0;
    rc = NV_FileWriteAt(f, fim, s.registro, total, &escritos);
    if (rc == NV_OK && escritos == total) return NV_OK;
    if (rc == NV_OK) rc = NV_EIO;
    if (escritos > 0) NV_FileSetSize(f, fim);
    if (i + 1 < kTentativasEscrita) NV_Sleep(s.pausa_ms);
  }
  return rc;
}

int Anexa(EstadoEspelho& s, const char* nome, size_t total) {
  NV_Arquivo f;
  int rc = Abre(s, nome, &f);
  if (rc != NV_OK) {
    Reporta(s, kEtapaOpen, rc, total);
    return rc;
  }
  rc = Trava(s, &f);
  if (rc != NV_OK) {
    Reporta(s, kEtapaLock, rc, total);
    return rc;
  }
  int64_t fim = 0;
  rc = NV_FileSeek(&f, 0, NV_SEEK_END, &fim);
  EtapaEspelho etapa = kEtapaSeek;
  if (rc == NV_OK) {
    rc = Escreve(s, &f, fim, total);
    etapa = kEtapaWrite;
  }
  if (rc != NV_OK) {
    NV_FileUnlock(&f, 0, 1);
    Reporta(s, etapa, rc, total);
    return rc;
  }
  rc = NV_FileUnlock(&f, 0, 1);
  if (rc != NV_OK) {
    Reporta(s, kEtapaUnlock, rc, total);
    return rc;
  }
  NV_FileFlush(&f);
  return NV_FileClose(&f);
}

}  // namespace

int GravaEspelho(int operacao, int rede, const char* data, const char* empresa,
                 const char* nsu, const void* principal, size_t tam_principal,
                 const void* secundario, size_t tam_secundario, const FaixasEspelho* faixas) {
  EstadoEspelho& s = g_espelho;
  NV_Trava trava(&s.mutex);
  Prepara(s, rede);
  if (!s.ligado) return NV_OK;
  const int64_t agora = NV_AgoraSeg();
  size_t total = 0;
  int rc = MontaRegistroEspelho(operacao, rede, data, empresa, nsu, principal, tam_principal,
                                secundario, tam_secundario, faixas, agora, s.registro,
                                sizeof s.registro, &total);
  if (rc != NV_OK) return rc;
  NV_DataHora dh{};
  NV_ConverteHora(agora, false, &dh);
  char data_arquivo[9];
  std::snprintf(data_arquivo, sizeof data_arquivo, "%02d%02d%02d%02d", DoisDigitos(dh.ano / 100),
                DoisDigitos(dh.ano), DoisDigitos(dh.mes), DoisDigitos(dh.dia));
  char nome[96];
  std::snprintf(nome, sizeof nome, "%s/%s.%s", kDiretorioEspelho, data_arquivo, s.extensao);
  rc = Anexa(s, nome, total);
  std::memset(s.registro, 0, total);
  return rc;
}

void DefinePausaEspelho(int ms) {
  NV_Trava trava(&g_espelho.mutex);
  g_espelho.pausa_ms = ms < 0 ? 0 : ms;
}

void ReiniciaEspelho() {
  EstadoEspelho& s = g_espelho;
  NV_Trava trava(&s.mutex);
  s.preparado = false;
  s.ligado = false;
  s.extensao[0] = '\0';
  s.pausa_ms = kPausaPadraoMs;
}
