#include "support/drive.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

DriveTemp::DriveTemp() {
  char modelo[] = "/tmp/kovdrive.XXXXXX";
  const char* d = mkdtemp(modelo);
  if (d == nullptr) std::abort();
  raiz_ = d;
  fs::create_directories(raiz_ + "/kovra/bin");
  if (const char* antigo = std::getenv("KOVRA_DRIVE")) {
    tinha_drive_ = true;
    drive_antigo_ = antigo;
  }
  cwd_antigo_ = fs::current_path().string();
  setenv("KOVRA_DRIVE", raiz_.c_str(), 1);
  fs::current_path(raiz_ + "/kovra/bin");
}

DriveTemp::~DriveTemp() {
  std::error_code ec;
  fs::current_path(cwd_antigo_, ec);
  if (tinha_drive_) setenv("KOVRA_DRIVE", drive_antigo_.c_str(), 1);
  else unsetenv("KOVRA_DRIVE");
  fs::remove_all(raiz_, ec);
}

std::string DriveTemp::caminho(const std::string& rel) const { return raiz_ + "/" + rel; }

void DriveTemp::escreve(const std::string& rel, const std::string& conteudo) const {
  fs::path p = caminho(rel);
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << conteudo;
}

std::string DriveTemp::le(const std::string& rel) const {
  std::ifstream in(caminho(rel), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool DriveTemp::existe(const std::string& rel) const { return fs::exists(caminho(rel)); }
