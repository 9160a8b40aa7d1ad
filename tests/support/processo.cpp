// Runs a program with posix_spawn and collects its two output streams
// through pipes, polling both so that neither can fill and block the child.
#include "support/processo.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace {

// Closes both ends of a pipe that are still open.
struct Tubo {
  int fd[2] = {-1, -1};
  ~Tubo() {
    for (int& f : fd)
      if (f >= 0) close(f);
  }
  void FechaEscrita() {
    close(fd[1]);
    fd[1] = -1;
  }
};

struct Acoes {
  posix_spawn_file_actions_t a;
  Acoes() { posix_spawn_file_actions_init(&a); }
  ~Acoes() { posix_spawn_file_actions_destroy(&a); }
};

// Reads both pipes until the child has closed them.
void Coleta(int fd_out, int fd_err, SaidaProcesso* s) {
  pollfd p[2] = {{fd_out, POLLIN, 0}, {fd_err, POLLIN, 0}};
  std::string* destino[2] = {&s->out, &s->err};
  int abertos = 2;
  char buf[4096];
  while (abertos > 0) {
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (p[i].fd < 0 || p[i].revents == 0) continue;
      ssize_t n = read(p[i].fd, buf, sizeof buf);
      if (n > 0) {
        destino[i]->append(buf, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        p[i].fd = -1;   // poll ignores negative descriptors
        --abertos;
      }
    }
  }
}

}  // namespace

SaidaProcesso ExecutaProcesso(const std::vector<std::string>& argv) {
  SaidaProcesso s{-1, "", ""};
  if (argv.empty()) return s;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  Tubo out, err;
  if (pipe2(out.fd, O_CLOEXEC) != 0 || pipe2(err.fd, O_CLOEXEC) != 0) {
    s.err = std::string("pipe: ") + std::strerror(errno);
    return s;
  }
  Acoes acoes;
  posix_spawn_file_actions_addopen(&acoes.a, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&acoes.a, out.fd[1], 1);
  posix_spawn_file_actions_adddup2(&acoes.a, err.fd[1], 2);
  pid_t pid;
  const int rc = posix_spawn(&pid, args[0], &acoes.a, nullptr, args.data(), environ);
  out.FechaEscrita();
  err.FechaEscrita();
  if (rc != 0) {
    s.err = argv[0] + ": " + std::strerror(rc);
    return s;
  }
  Coleta(out.fd[0], err.fd[0], &s);
  int st = 0;
  while (waitpid(pid, &st, 0) < 0) {
    if (errno != EINTR) return s;
  }
  if (WIFEXITED(st)) s.status = WEXITSTATUS(st);
  else if (WIFSIGNALED(st)) s.status = 128 + WTERMSIG(st);
  return s;
}

SaidaProcesso ExecutaShell(const std::string& linha) {
  return ExecutaProcesso({"/bin/sh", "-c", linha});
}
