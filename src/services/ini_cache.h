// The process-wide ini cache CacheIni: parsed files by lower-cased path,
// their sections and keys, the freshness record of each file, the four tier
// lists that bound the memory held, the reference counts, and the
// load-in-progress state that makes one thread parse a file while the others
// wait.  One mutex guards all of it; it is released around every file
// access, so a slow disk does not hold up the other files.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "nvpr/nv_process.h"

struct IniChave {
  uint8_t leituras = 0;    // read counter, saturating at 10
  bool modificada = false; // changed here and not yet in the file
  bool apagada = false;
  std::string chave;       // lower-cased (the map key)
  std::string nome;        // as first spelled
  std::string valor;       // without enclosing quotes
};

struct IniSecao {
  std::string nome;        // as first spelled in the file
  std::string chave;       // lower-cased (the map key)
  bool apagada = false;
  int alteradas = 0;       // keys changed and not yet in the file
  std::map<std::string, IniChave, std::less<>> chaves;
};

// Ordered by lower-cased bytes, unsigned, a prefix before the longer names.
using MapaSecoes = std::map<std::string, IniSecao, std::less<>>;

struct SecoesIni {
  MapaSecoes mapa;         // always holds the root section "" once loaded
  bool alterado = false;   // some key changed here and not yet in the file
};

enum : uint8_t { INI_NUNCA_CARREGADO = 0, INI_CARGA_EM_CURSO = 1, INI_CARREGADO = 2 };

// Freshness record: what the file looked like when it was last loaded or
// written.  On Linux the creation time is the status-change time and the
// identity is the inode with its device.
struct RegistroArquivo {
  int64_t modificacao_ns = 0;   // UTC, nanoseconds since 1970
  int64_t criacao_ns = 0;
  uint64_t tamanho = 0;         // all ones for a file that did not exist
  uint64_t identidade = 0;
  uint64_t dispositivo = 0;
  uint8_t validade = INI_NUNCA_CARREGADO;
};

enum NivelIni : int {
  INI_NIVEL_NENHUM = -1,
  INI_NIVEL_PENDENTE = 0,     // unsaved changes: never dropped
  INI_NIVEL_OCASIONAL = 1,
  INI_NIVEL_RECENTE = 2,
  INI_NIVEL_FREQUENTE = 3,
};

struct ResolucaoIni;

struct IniArquivo {
  std::string caminho;          // as the caller first wrote it
  std::string chave;            // lower-cased (the map key)
  SecoesIni secoes;
  RegistroArquivo registro;
  // The Linux path of the file at its last load (null when unknown); shared
  // so that the freshness check can use it without the mutex.
  std::shared_ptr<const ResolucaoIni> resolucao;
  int64_t ultimo_acesso = 0;    // monotonic ns
  bool acesso_registrado = false;
  int referencias = 0;          // threads using the entry; in use = in no tier
  int max_leituras = 0;         // highest key read counter since the load
  int leituras = 0;             // successful single-key reads since the load
  int nivel = INI_NIVEL_NENHUM;
  IniArquivo* anterior = nullptr;   // tier list links (toward the head)
  IniArquivo* proximo = nullptr;    // (toward the tail)
  uint64_t geracao = 0;         // raised by every successful load
};

struct ListaNivelIni {
  IniArquivo* cabeca = nullptr;
  IniArquivo* cauda = nullptr;
  int conta = 0;
};

struct CacheIni {
  std::map<std::string, std::unique_ptr<IniArquivo>, std::less<>> arquivos;
  ListaNivelIni niveis[4];
  int64_t acesso_mais_recente = 0;   // monotonic ns of the latest timed access
  NV_Mutex mutex;
  NV_Cond cond;
  // Check the file on disk before each use; write every change through at
  // once.  Both are on for the life of the process.
  static constexpr bool kVerificaDisco = true;
  static constexpr bool kGravaDireto = true;

  // Counters for the operator's tools, the benchmarks and the tests.
  uint64_t cargas = 0;       // passes over a file (parses), merged writes included
  uint64_t gravacoes = 0;    // files written
  int esperando = 0;         // threads waiting for a load in progress
  // Called (without the mutex) at the start of each file pass; tests use it
  // to hold a load in progress.  Empty in the module.
  std::function<void(const std::string& caminho)> gancho_carga;
  // Called when a merged file is written and flushed, just before the
  // target is checked and replaced (tests: another program's change).
  std::function<void(const std::string& caminho)> gancho_antes_de_renomear;
};

extern CacheIni& cache_ini;

// Creates the cache's mutex and condition variable, once per process.
void GaranteCacheIni();

// One use of a file entry.  The constructor locks the cache, finds or
// creates the entry, takes it out of its tier, checks the file on disk and
// reloads it when it changed.  The destructor releases the entry (into a
// tier, balancing the tiers) and unlocks.
class UsoArquivoIni {
 public:
  explicit UsoArquivoIni(const char* caminho);
  ~UsoArquivoIni();
  UsoArquivoIni(const UsoArquivoIni&) = delete;
  UsoArquivoIni& operator=(const UsoArquivoIni&) = delete;

  IniArquivo* arq() const { return arq_; }
  // 0, or the error of the load that failed.
  int erro() const { return erro_; }
  // The cached sections may be served: the load succeeded, or it failed but
  // the entry holds changes that this process made and could not write yet.
  bool legivel() const { return arq_ != nullptr && (erro_ == 0 || arq_->secoes.alterado); }

 private:
  IniArquivo* arq_ = nullptr;
  int erro_ = 0;
};

// With the mutex held: waits while a load of `a` is in progress.
void EsperaCargaIni(IniArquivo* a);

// With the mutex held: reloads `a` from its file (writing the merged file
// when it has unsaved changes).  `geracao_vista` is the entry's generation
// when the caller decided to reload: if another thread completed a load
// since, nothing more is done.  0 or the error of the load.
int RecarregaArquivoIni(IniArquivo* a, uint64_t geracao_vista);

// Tier lists (mutex held).
void RetiraDoNivel(IniArquivo* a);
void PoeNoNivel(IniArquivo* a, int nivel);
// Lowers the reference count; at zero files the entry in its tier and
// balances the tiers, which may drop unchanged entries from the cache.
void LiberaArquivoIni(IniArquivo* a);

// The counts of the cache, for tools, benchmarks and tests.
struct EstatisticaIni {
  size_t arquivos = 0;
  int niveis[4] = {0, 0, 0, 0};
  uint64_t cargas = 0;
  uint64_t gravacoes = 0;
  int esperando = 0;
};
void LeEstatisticaIni(EstatisticaIni* e);
