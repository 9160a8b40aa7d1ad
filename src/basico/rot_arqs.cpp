// The audit writer's state and its two operations: AbreAudit opens the
// day's file of the network (after the audit switch and the key file allow
// it), GravaRegistroAudit builds, masks, enciphers and appends one record,
// retrying a failed open at most every 300 seconds, re-reading the switch
// every 1000 records and starting a new file at the first record of a day.
#include "basico/rot_arqs.h"

#include <sys/random.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <mbedtls/platform_util.h>

#include "basico/rot_arqs_bytes.h"
#include "basico/rot_arqs_cifra.h"
#include "basico/rot_arqs_mascara.h"
#include "basico/rot_arqs_registro.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_fileutil.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"
#include "services/ini.h"
#include "services/texto.h"
#include "services/trace.h"

namespace {

constexpr size_t kTamIdArquivo = 8;

struct EstadoAudit {
  NV_Mutex mutex;
  int rede = kRedeAuditPadrao;
  char diretorio[kMaxDiretorioAudit + 1] = {};
  NV_Arquivo arquivo;
  bool aberto = false;
  char mmdd[5] = {};              // day of the open file
  bool tentou_abrir = false;
  int64_t ultima_abertura = 0;    // wall-clock seconds of the last open attempt
  int64_t ultimo_flush = 0;
  int contador = 0;               // records since the open or the last switch check
  bool avisou_chave = false;      // the console was told the key is unusable
  ChaveAudit chave;
  CifraAudit cifra;
  uint8_t id_arquivo[kTamIdArquivo] = {};   // first part of every nonce of this opening
  uint32_t sequencia = 0;                   // second part: records enciphered so far
  std::vector<uint8_t> registro;            // the record being built
};
EstadoAudit g_audit;

void Console(const char* texto) { std::fprintf(stderr, "%s\n", texto); }

void Fecha(EstadoAudit& s) {
  if (s.aberto) NV_FileClose(&s.arquivo);
  s.aberto = false;
  s.mmdd[0] = '\0';
}

// A fresh nonce prefix: with the record counter after it, no nonce repeats
// under one key, also when a file is reopened or its tail is cut back.
bool NovoIdArquivo(EstadoAudit& s) {
  s.sequencia = 0;
  return getrandom(s.id_arquivo, kTamIdArquivo, 0) == static_cast<ssize_t>(kTamIdArquivo);
}

// "ControleAudit": the network's own entry, else "EstadoPadraoAudit".
bool AuditLigado(int rede) {
  int padrao = LeIniInt("Geral", "EstadoPadraoAudit", 1, kArquivoConfigAudit);
  char chave[16];
  std::snprintf(chave, sizeof chave, "%d", rede);
  return LeIniInt("ControleAudit", chave, padrao, kArquivoConfigAudit) != 0;
}

int LeDiretorio(EstadoAudit& s) {
  char dir[1024];
  LeIniString("Geral", "DiretorioAudit", kDiretorioAuditPadrao, dir, sizeof dir,
              kArquivoConfigAudit);
  if (dir[0] == '\0') CopiaLimitada(dir, sizeof dir, kDiretorioAuditPadrao);
  if (std::strlen(dir) > static_cast<size_t>(kMaxDiretorioAudit)) {
    Console("Diretorio de audit com mais de 259 caracteres.");
    return NV_ENAMETOOLONG;
  }
  CopiaLimitada(s.diretorio, sizeof s.diretorio, dir);
  return NV_OK;
}

int CarregaChave(EstadoAudit& s) {
  const char* motivo = nullptr;
  int rc = CarregaChaveAudit(kArquivoChaveAudit, &s.chave, &motivo);
  if (rc == NV_OK) rc = DefineCifraAudit(&s.cifra, &s.chave);
  if (rc != NV_OK) {
    LiberaCifraAudit(&s.cifra);
    if (!s.avisou_chave) {
      char linha[256];
      std::snprintf(linha, sizeof linha, "Audit desligado: %s (%s).",
                    motivo != nullptr ? motivo : "chave de audit recusada", kArquivoChaveAudit);
      Console(linha);
      s.avisou_chave = true;
    }
    return rc;
  }
  s.avisou_chave = false;
  return NV_OK;
}

// Opens the network's file for the day and time `dh`.
int AbreDia(EstadoAudit& s, const NV_DataHora& dh, int64_t agora) {
  s.tentou_abrir = true;
  s.ultima_abertura = agora;
  int rc = LeDiretorio(s);
  if (rc == NV_OK && (s.rede < 0 || s.rede > 999)) rc = NV_EINVAL;
  if (rc == NV_OK && s.rede != 0 && !AuditLigado(s.rede)) rc = NV_EACCES;
  if (rc == NV_OK) rc = CarregaChave(s);
  if (rc != NV_OK) {
    Fecha(s);
    return rc;
  }
  NV_CriaDiretorio(s.diretorio, true);
  char mmdd[5];
  std::snprintf(mmdd, sizeof mmdd, "%02d%02d", DoisDigitos(dh.mes), DoisDigitos(dh.dia));
  char nome[kMaxDiretorioAudit + 32];
  std::snprintf(nome, sizeof nome, "%s/%s%02d%02d.%03d", s.diretorio, mmdd, DoisDigitos(dh.hora),
                DoisDigitos(dh.minuto), s.rede);
  Fecha(s);
  NV_Arquivo f;
  rc = NV_FileOpen(&f, nome, NV_O_RDWR | NV_O_CREAT);
  if (rc != NV_OK) {
    Console("Nao conseguiu criar arquivo de audit.");
    return rc;
  }
  rc = NV_FileSeek(&f, 0, NV_SEEK_END, nullptr);
  if (rc != NV_OK) {
    NV_FileClose(&f);
    Console("Nao conseguiu reposicionar arquivo de audit.");
    return rc;
  }
  if (!NovoIdArquivo(s)) {
    NV_FileClose(&f);
    Console("Nao conseguiu iniciar a cifra de audit.");
    return NV_EIO;
  }
  s.arquivo = std::move(f);
  s.aberto = true;
  std::memcpy(s.mmdd, mmdd, sizeof s.mmdd);
  s.contador = 0;
  return NV_OK;
}

// The "(file, line)" text that follows the data of kind 0.
size_t TextoFonte(const NV_TraceVarAudit* reg, char* saida, size_t room) {
  if (reg->tipo != 0 || reg->arquivo == nullptr || reg->arquivo[0] == '\0' || reg->linha == 0)
    return 0;
  int n = std::snprintf(saida, room, "(%s, %d)", reg->arquivo, reg->linha);
  if (n < 0) return 0;
  return static_cast<size_t>(n) < room ? static_cast<size_t>(n) : room - 1;
}

// Builds, masks and enciphers the record in s.registro; returns its size.
int MontaRegistro(EstadoAudit& s, const NV_TraceVarAudit* reg, const NV_DataHora& dh,
                  size_t* total) {
  char fonte[kMaxTextoFonteAudit + 1];
  size_t n_fonte = TextoFonte(reg, fonte, sizeof fonte);
  size_t n_dados = reg->tam;
  size_t n = n_dados + n_fonte;
  if (n_dados > kMaxDadosAudit || n > kMaxDadosAudit) {
    Console("Registro de audit grande demais, descartado.");
    return NV_EINVAL;
  }
  *total = n + kSobraRegistroAudit;
  try {
    s.registro.resize(*total);
  } catch (const std::bad_alloc&) {
    Console("Sem memoria.");
    return NV_ENOMEM;
  }
  CabecalhoAudit cab{};
  GravaU16(cab.Tamanho, static_cast<uint16_t>(*total - 2));
  char hora[9];
  std::snprintf(hora, sizeof hora, "%02d:%02d:%02d", DoisDigitos(dh.hora), DoisDigitos(dh.minuto),
                DoisDigitos(dh.segundo));
  std::memcpy(cab.Hora, hora, sizeof cab.Hora);
  cab.Tipo = reg->tipo;
  if (s.sequencia == UINT32_MAX && !NovoIdArquivo(s)) return NV_EIO;
  std::memcpy(cab.Nonce, s.id_arquivo, kTamIdArquivo);
  GravaU32(cab.Nonce + kTamIdArquivo, s.sequencia++);
  uint8_t* r = s.registro.data();
  std::memcpy(r, &cab, sizeof cab);

  uint8_t* dados = r + sizeof(CabecalhoAudit);
  if (n_dados > 0) std::memcpy(dados, reg->dados, n_dados);
  if (n_fonte > 0) std::memcpy(dados + n_dados, fonte, n_fonte);
  AplicaMascarasAudit(dados, n_dados, reg->mascaras, reg->num_mascaras);
  if (TipoAuditComTrilhas(reg->tipo)) {
    MascaraTrilha2Audit(dados, n_dados);
    MascaraTrilha1Audit(dados, n_dados);
  }
  if (int inicio = InicioMensagemHostAudit(reg->tipo); inicio >= 0)
    MascaraCamposHostAudit(dados, n_dados, static_cast<size_t>(inicio));
  return CifraRegistroAudit(&s.cifra, cab.Nonce, r, kTamAadAudit, dados, n, dados + n);
}

// Appends the record; a short write is cut off again so the file stays
// walkable record by record.
int Escreve(EstadoAudit& s, size_t total, int64_t agora) {
  int64_t fim = 0;
  if (NV_FileSeek(&s.arquivo, 0, NV_SEEK_END, &fim) != NV_OK) return NV_EFAULT;
  size_t escritos = 0;
  int rc = NV_FileWrite(&s.arquivo, s.registro.data(), total, &escritos);
  if (rc != NV_OK || escritos != total) {
    if (escritos > 0) NV_FileSetSize(&s.arquivo, fim);
    NV_FileSeek(&s.arquivo, 0, NV_SEEK_END, nullptr);
    return NV_EFAULT;
  }
  if (agora < s.ultimo_flush || agora - s.ultimo_flush >= kIntervaloFlushAudit) {
    NV_FileFlush(&s.arquivo);
    s.ultimo_flush = agora;
  }
  return NV_OK;
}

int Grava(EstadoAudit& s, const NV_TraceVarAudit* reg) {
  NV_DataHora dh{};
  NV_HoraLocal(&dh);
  int64_t agora = NV_AgoraSeg();
  if (!s.aberto) {
    int64_t passou = agora - s.ultima_abertura;
    if (s.tentou_abrir && passou >= 0 && passou < kEsperaReaberturaAudit) return NV_ETIMEDOUT;
    int rc = AbreDia(s, dh, agora);
    if (rc != NV_OK) return rc;
  }
  if (s.rede != 0 && ++s.contador >= kRegistrosPorControleAudit) {
    s.contador = 0;
    if (!AuditLigado(s.rede)) {
      Fecha(s);
      return NV_EACCES;
    }
  }
  char mmdd[5];
  std::snprintf(mmdd, sizeof mmdd, "%02d%02d", DoisDigitos(dh.mes), DoisDigitos(dh.dia));
  if (std::strcmp(mmdd, s.mmdd) != 0) {
    int rc = AbreDia(s, dh, agora);
    if (rc != NV_OK) return rc;
  }
  size_t total = 0;
  int rc = MontaRegistro(s, reg, dh, &total);
  if (rc == NV_OK) rc = Escreve(s, total, agora);
  mbedtls_platform_zeroize(s.registro.data(), s.registro.size());
  return rc;
}

}  // namespace

int AbreAudit(int codigo_rede) {
  InstalaGravadorAudit(GravaRegistroAudit);
  EstadoAudit& s = g_audit;
  NV_Trava trava(&s.mutex);
  s.rede = codigo_rede;
  NV_DataHora dh{};
  NV_HoraLocal(&dh);
  return AbreDia(s, dh, NV_AgoraSeg());
}

int GravaRegistroAudit(const NV_TraceVarAudit* reg) {
  if (reg == nullptr || (reg->dados == nullptr && reg->tam > 0)) return NV_EINVAL;
  EstadoAudit& s = g_audit;
  NV_Trava trava(&s.mutex);
  return Grava(s, reg);
}

void ReiniciaAudit() {
  EstadoAudit& s = g_audit;
  NV_Trava trava(&s.mutex);
  Fecha(s);
  LimpaChaveAudit(&s.chave);
  LiberaCifraAudit(&s.cifra);
  mbedtls_platform_zeroize(s.id_arquivo, sizeof s.id_arquivo);
  s.rede = kRedeAuditPadrao;
  s.diretorio[0] = '\0';
  s.tentou_abrir = false;
  s.ultima_abertura = 0;
  s.ultimo_flush = 0;
  s.contador = 0;
  s.avisou_chave = false;
  s.sequencia = 0;
  std::vector<uint8_t>().swap(s.registro);
}
