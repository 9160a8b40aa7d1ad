// Helpers of the kovtool tests: running the real kovtool binary with a list
// of arguments (no shell, so backslashes reach it as typed), the fixture of
// a temporary drive with the working directory at <drive>/kovra/bin, and
// the check of a refusal: its exit status and one line of reason on
// standard error.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/drive.h"
#include "support/processo.h"

inline SaidaProcesso Kovtool(std::vector<std::string> args) {
  args.insert(args.begin(), KOVTOOL_BIN);
  return ExecutaProcesso(args);
}

// The arguments as one text, for failure messages.
inline std::string Junta(const std::vector<std::string>& args) {
  std::string s;
  for (const std::string& a : args) s += (s.empty() ? "" : " ") + ("'" + a + "'");
  return s;
}

// A refusal: the status, nothing on standard output and exactly one line
// on standard error holding `motivo`.
inline void EsperaRecusa(const std::vector<std::string>& args, int status, const std::string& motivo) {
  const SaidaProcesso s = Kovtool(args);
  EXPECT_EQ(s.status, status) << Junta(args);
  EXPECT_EQ(s.out, "") << Junta(args);
  EXPECT_NE(s.err.find(motivo), std::string::npos) << Junta(args) << ": " << s.err;
  EXPECT_TRUE(!s.err.empty() && s.err.find('\n') == s.err.size() - 1)
      << Junta(args) << ": one line: " << s.err;
}

class KovtoolTeste : public ::testing::Test {
 protected:
  DriveTemp drive_;
};
