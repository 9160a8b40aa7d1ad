// The console trace switch set from KOVTRACE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "basico/rot_aux.h"
#include "services/depura.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class RotAux : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* v = std::getenv("KOVTRACE")) {
      tinha_ = true;
      antigo_ = v;
    }
    DefineTraceConsole(false);
  }
  void TearDown() override {
    if (tinha_) setenv("KOVTRACE", antigo_.c_str(), 1);
    else unsetenv("KOVTRACE");
    DefineTraceConsole(false);
  }

 private:
  bool tinha_ = false;
  std::string antigo_;
};

TEST_F(RotAux, KovtraceValues) {
  struct Caso {
    const char* valor;  // null: unset
    bool ligado;
  };
  const Caso casos[] = {
      {nullptr, false}, {"OFF", false}, {"off", true}, {"ON", true},
      {"", true},       {"OFF ", true}, {"1", true},
  };
  for (const Caso& c : casos) {
    DefineTraceConsole(false);
    if (c.valor != nullptr) setenv("KOVTRACE", c.valor, 1);
    else unsetenv("KOVTRACE");
    CaptureStderr();
    IniciaTraceConsole();
    Depura("linha");
    const std::string saida = GetCapturedStderr();
    const char* nome = c.valor != nullptr ? c.valor : "(unset)";
    EXPECT_EQ(TraceConsoleLigado(), c.ligado) << nome;
    EXPECT_EQ(saida, c.ligado ? "DEBUG ON\nlinha\n" : "") << nome;
  }
}

TEST_F(RotAux, DebugOnPrintedOnce) {
  setenv("KOVTRACE", "ON", 1);
  CaptureStderr();
  IniciaTraceConsole();
  IniciaTraceConsole();
  EXPECT_EQ(GetCapturedStderr(), "DEBUG ON\n");
  setenv("KOVTRACE", "OFF", 1);
  IniciaTraceConsole();
  EXPECT_FALSE(TraceConsoleLigado());
}

}  // namespace
