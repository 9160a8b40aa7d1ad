// Line reader and buffered writer of the ini engine.
#include "services/ini_linha.h"

#include <cstring>

#include "nvpr/nv_error.h"

namespace {
constexpr size_t kBloco = 65536;
}

LeitorLinhasIni::LeitorLinhasIni(NV_Arquivo* f) : f_(f), bloco_(std::make_unique<char[]>(kBloco)) {}

int LeitorLinhasIni::Enche() {
  pos_ = fim_ = 0;
  if (eof_) return 0;
  size_t lidos = 0;
  int r = NV_FileRead(f_, bloco_.get(), kBloco, &lidos);
  if (r != 0) return r;
  if (lidos == 0) eof_ = true;
  fim_ = lidos;
  return 0;
}

// At a CR or LF: consumes it, and the LF of a CR LF pair.
bool LeitorLinhasIni::ConsomeTerminador(int* erro) {
  char c = bloco_[pos_++];
  if (c == '\r') {
    if (pos_ == fim_) {
      *erro = Enche();
      if (*erro != 0) return false;
    }
    if (pos_ < fim_ && bloco_[pos_] == '\n') ++pos_;
  }
  return true;
}

int LeitorLinhasIni::Proxima(bool* ha_linha) {
  *ha_linha = false;
  if (resto_) {
    int r = Termina(nullptr);
    if (r != 0) return r;
  }
  n_ = 0;
  bool algum = false;
  for (;;) {
    if (pos_ == fim_) {
      int r = Enche();
      if (r != 0) return r;
      if (fim_ == 0) break;   // end of the file
    }
    algum = true;
    size_t j = pos_;
    while (j < fim_ && bloco_[j] != '\r' && bloco_[j] != '\n') ++j;
    size_t cabe = INI_TAM_LINHA - n_;
    size_t k = j - pos_ < cabe ? j - pos_ : cabe;
    std::memcpy(linha_ + n_, bloco_.get() + pos_, k);
    n_ += k;
    pos_ += k;
    if (pos_ < j || (n_ == INI_TAM_LINHA && j == fim_)) {
      // Cut at the buffer: the rest waits for Termina.
      resto_ = true;
      break;
    }
    if (j < fim_) {
      int erro = 0;
      if (!ConsomeTerminador(&erro)) return erro;
      break;
    }
  }
  *ha_linha = algum;
  return 0;
}

int LeitorLinhasIni::Termina(EscritorIni* saida) {
  while (resto_) {
    if (pos_ == fim_) {
      int r = Enche();
      if (r != 0) return r;
      if (fim_ == 0) {
        resto_ = false;
        break;
      }
    }
    size_t j = pos_;
    while (j < fim_ && bloco_[j] != '\r' && bloco_[j] != '\n') ++j;
    if (saida != nullptr) saida->Escreve(std::string_view(bloco_.get() + pos_, j - pos_));
    pos_ = j;
    if (j < fim_) {
      resto_ = false;
      int erro = 0;
      if (!ConsomeTerminador(&erro)) return erro;
    }
  }
  return 0;
}

EscritorIni::EscritorIni(NV_Arquivo* f) : f_(f), bloco_(std::make_unique<char[]>(kBloco)) {}

void EscritorIni::Escreve(std::string_view s) {
  while (erro_ == 0 && !s.empty()) {
    if (n_ == kBloco && Descarrega() != 0) return;
    size_t k = s.size() < kBloco - n_ ? s.size() : kBloco - n_;
    std::memcpy(bloco_.get() + n_, s.data(), k);
    n_ += k;
    s.remove_prefix(k);
  }
}

int EscritorIni::Descarrega() {
  if (erro_ == 0 && n_ > 0) {
    size_t escritos = 0;
    erro_ = NV_FileWrite(f_, bloco_.get(), n_, &escritos);
    if (erro_ == 0 && escritos != n_) erro_ = NV_EIO;
    n_ = 0;
  }
  return erro_;
}

namespace {

// The terminator found at bloco[i] (a CR or LF); `seguinte` is the byte
// after it, 0 at the end of the file.
std::string_view Terminador(char c, char seguinte) {
  if (c == '\n') return "\n";
  return seguinte == '\n' ? std::string_view("\r\n") : std::string_view("\r");
}

}  // namespace

int DetectaFimDeLinha(NV_Arquivo* f, std::string* fim) {
  char bloco[4096];
  int64_t pos = 0;
  std::string_view achado = "\r\n";
  for (bool procura = true; procura;) {
    size_t lidos = 0;
    int r = NV_FileReadAt(f, pos, bloco, sizeof bloco, &lidos);
    if (r != 0) return r;
    if (lidos == 0) break;
    for (size_t i = 0; i < lidos && procura; ++i) {
      if (bloco[i] != '\r' && bloco[i] != '\n') continue;
      char seguinte = 0;
      if (i + 1 < lidos) {
        seguinte = bloco[i + 1];
      } else if (bloco[i] == '\r') {
        size_t um = 0;
        r = NV_FileReadAt(f, pos + static_cast<int64_t>(lidos), &seguinte, 1, &um);
        if (r != 0) return r;
        if (um == 0) seguinte = 0;
      }
      achado = Terminador(bloco[i], seguinte);
      procura = false;
    }
    pos += static_cast<int64_t>(lidos);
  }
  fim->assign(achado.data(), achado.size());
  return 0;
}
