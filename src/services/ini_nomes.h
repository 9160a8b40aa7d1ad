// Names in the ini cache: the ASCII folding used for every look-up (A-Z to
// a-z, nothing else) and the blanks that the file grammar trims.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

inline bool EhBrancoIni(char c) { return c == ' ' || c == '\t' || c == '\x1a'; }

inline char DobraAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string DobraNomeIni(std::string_view nome);

// A folded copy of a name for one look-up.  Short names, which are all the
// system's section, key and path names, are folded into a buffer on the
// stack; longer ones go to the heap.
class NomeDobrado {
 public:
  explicit NomeDobrado(std::string_view nome);
  NomeDobrado(const NomeDobrado&) = delete;
  NomeDobrado& operator=(const NomeDobrado&) = delete;
  std::string_view vista() const { return vista_; }

 private:
  char curto_[128];
  std::string longo_;
  std::string_view vista_;
};
