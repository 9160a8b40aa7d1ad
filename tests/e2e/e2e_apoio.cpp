// Helpers of the end-to-end tests.
#include "e2e_apoio.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"
#include "support/spool.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kEsperaProcessoMs = 60000;

std::vector<char*> Ponteiros(std::vector<std::string>& v) {
  std::vector<char*> p;
  for (auto& s : v) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

}  // namespace

ProcessoFilho::ProcessoFilho(const std::vector<std::string>& argv,
                             const std::vector<std::string>& ambiente, const std::string& saida,
                             const std::string& erro) {
  std::vector<std::string> args = argv;
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  env.insert(env.end(), ambiente.begin(), ambiente.end());
  std::vector<char*> pargs = Ponteiros(args);
  std::vector<char*> penv = Ponteiros(env);
  // Everything the child needs is ready before the fork: it only opens,
  // duplicates and executes.
  pid_ = fork();
  if (pid_ == 0) {
    const int out = open(saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(erro.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0) _exit(127);
    dup2(out, 1);
    dup2(err, 2);
    execve(pargs[0], pargs.data(), penv.data());
    _exit(127);
  }
  EXPECT_GT(pid_, 0);
}

ProcessoFilho::~ProcessoFilho() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
}

bool ProcessoFilho::Espera(int ms, int* status) {
  if (pid_ <= 0) return false;
  const bool acabou = EsperaAte([&] { return waitpid(pid_, status, WNOHANG) == pid_; }, ms);
  if (acabou) pid_ = -1;
  return acabou;
}

void ProcessoFilho::Sinal(int sinal) {
  if (pid_ > 0) kill(pid_, sinal);
}

bool EsperaAte(const std::function<bool()>& condicao, int ms) {
  const int64_t prazo = NV_RelogioMonotonico() + static_cast<int64_t>(ms) * 1000000;
  for (;;) {
    if (condicao()) return true;
    if (NV_RelogioMonotonico() > prazo) return false;
    NV_Sleep(20);
  }
}

std::unique_ptr<ProcessoFilho> E2eTeste::IniciaModulo() {
  fs::create_directories(drive_.caminho("saida"));
  return std::make_unique<ProcessoFilho>(std::vector<std::string>{KOV_BIN_KOVTIQUETAL},
                                         std::vector<std::string>{"KOVTRACE=ON"},
                                         drive_.caminho("saida/modulo.out"),
                                         drive_.caminho("saida/modulo.err"));
}

std::unique_ptr<ProcessoFilho> E2eTeste::IniciaKovsim(const std::string& nome,
                                                      const std::vector<std::string>& args) {
  fs::create_directories(drive_.caminho("saida"));
  std::vector<std::string> argv = {KOV_BIN_KOVSIM};
  argv.insert(argv.end(), args.begin(), args.end());
  return std::make_unique<ProcessoFilho>(argv, std::vector<std::string>{},
                                         drive_.caminho("saida/" + nome + ".out"),
                                         drive_.caminho("saida/" + nome + ".err"));
}

int E2eTeste::ExecutaKovsim(const std::string& nome, const std::vector<std::string>& args) {
  auto p = IniciaKovsim(nome, args);
  int status = 0;
  if (!p->Espera(kEsperaProcessoMs, &status) || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int E2eTeste::ContaLinhasMensagem(const std::string& trecho) const {
  int n = 0;
  for (const std::string& l : LinhasSpoolMensagem(drive_))
    if (l.find(trecho) != std::string::npos) ++n;
  return n;
}

void E2eTeste::ParaModulo(ProcessoFilho* modulo) {
  modulo->Sinal(SIGTERM);
  int status = 0;
  ASSERT_TRUE(modulo->Espera(kEsperaProcessoMs, &status)) << "the module did not stop";
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << Saida("modulo.err");
  EXPECT_EQ(WEXITSTATUS(status), 0) << Saida("modulo.err");
}

std::vector<unsigned char> PedidoPdv(unsigned char tipo, unsigned char subtipo,
                                     const std::string& dados) {
  std::vector<unsigned char> m(30, 0);
  m[2] = tipo;
  m[3] = subtipo;
  std::memcpy(m.data() + 4, "T0000001", 8);
  std::memcpy(m.data() + 12, "001", 3);
  std::memcpy(m.data() + 20, "00000001", 8);
  m[28] = static_cast<unsigned char>(dados.size());
  m.insert(m.end(), dados.begin(), dados.end());
  return m;
}

std::string HexMinusculo(const std::vector<unsigned char>& b) {
  static constexpr char kDig[] = "0123456789abcdef";
  std::string s;
  for (unsigned char c : b) {
    s += kDig[c >> 4];
    s += kDig[c & 15];
  }
  return s;
}
