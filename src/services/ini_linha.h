// Line input and buffered output of the ini engine over run-time file
// handles.  Lines end in CR LF, LF or a lone CR.  A line is seen through a
// buffer of INI_TAM_LINHA bytes: a longer line is cut there for the grammar,
// and the rest of it (up to its terminator) is either copied unchanged to an
// output or skipped, never taken as a line of its own.  Memory stays bounded
// whatever the length of a line.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "nvpr/nv_file.h"
#include "services/ini_gramatica.h"

class EscritorIni;

class LeitorLinhasIni {
 public:
  explicit LeitorLinhasIni(NV_Arquivo* f);
  LeitorLinhasIni(const LeitorLinhasIni&) = delete;
  LeitorLinhasIni& operator=(const LeitorLinhasIni&) = delete;

  // Reads the next line: 0 and *ha_linha, or 0 and !*ha_linha at the end of
  // the file, or a run-time error code.  The rest of a previous cut line
  // that was not consumed is skipped first.
  int Proxima(bool* ha_linha);
  const char* dados() const { return linha_; }
  size_t tamanho() const { return n_; }
  // The current line goes on past the buffer (until Termina).
  bool cortada() const { return resto_; }
  // Consumes the rest of the current line beyond the buffer (if it was cut),
  // copying it to `saida` when given.
  int Termina(EscritorIni* saida);

 private:
  int Enche();
  bool ConsomeTerminador(int* erro);

  NV_Arquivo* f_;
  std::unique_ptr<char[]> bloco_;
  size_t pos_ = 0, fim_ = 0;
  bool eof_ = false;
  char linha_[INI_TAM_LINHA];
  size_t n_ = 0;
  bool resto_ = false;   // the current line goes on past linha_
};

// Buffered writes to a run-time file handle.  The first error sticks and
// makes every later write a no-op.
class EscritorIni {
 public:
  explicit EscritorIni(NV_Arquivo* f);
  EscritorIni(const EscritorIni&) = delete;
  EscritorIni& operator=(const EscritorIni&) = delete;

  void Escreve(std::string_view s);
  int Descarrega();
  int erro() const { return erro_; }

 private:
  NV_Arquivo* f_;
  std::unique_ptr<char[]> bloco_;
  size_t n_ = 0;
  int erro_ = 0;
};

// The line ending of a file: the terminator of its first line ("\r\n",
// "\n" or "\r"), or CR LF when the file has no terminated line.  Reads with
// positional reads, so the file position is not moved.
int DetectaFimDeLinha(NV_Arquivo* f, std::string* fim);
