// A temporary drive root for one test: a fresh directory with kovra/bin,
// KOVRA_DRIVE pointing at it and the working directory at <drive>/kovra/bin,
// as the module runs.  Everything is removed and restored at the end.
#pragma once
#include <string>

class DriveTemp {
 public:
  DriveTemp();
  ~DriveTemp();
  DriveTemp(const DriveTemp&) = delete;
  DriveTemp& operator=(const DriveTemp&) = delete;

  const std::string& raiz() const { return raiz_; }
  // <drive>/rel, with rel given from the drive root ("kovra/config/x.ini").
  std::string caminho(const std::string& rel) const;
  // Writes a file under the drive root, creating its directories.
  void escreve(const std::string& rel, const std::string& conteudo) const;
  // Reads a whole file under the drive root ("" when missing).
  std::string le(const std::string& rel) const;
  bool existe(const std::string& rel) const;

 private:
  std::string raiz_;
  std::string cwd_antigo_;
  std::string drive_antigo_;
  bool tinha_drive_ = false;
};
