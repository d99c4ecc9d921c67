#include "tests/cardsim/daemon_process.h"

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace simtest {

namespace {

using namespace std::chrono_literals;

// Forks and execs talvcard with stdout (and stderr when asked) on a pipe.
pid_t Spawn(const std::vector<std::string>& args, bool with_stderr, int* read_fd) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    if (with_stderr) dup2(fds[1], STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    std::string program = TALVCARD_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  *read_fd = fds[0];
  return pid;
}

// Reads until the pipe closes, a newline when asked, or the deadline.
std::string ReadOutput(int fd, bool one_line, std::chrono::milliseconds limit) {
  std::string text;
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char c;
    if (read(fd, &c, 1) != 1) break;
    if (one_line && c == '\n') break;
    text.push_back(c);
  }
  return text;
}

// The exit code, or -1 on a signal or timeout (the child is then killed).
int WaitExit(pid_t pid, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(2ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TempDir::TempDir() {
  char pattern[] = "/tmp/talvcard-test-XXXXXX";
  if (mkdtemp(pattern) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

RunResult RunTalvcard(const std::vector<std::string>& args) {
  RunResult r;
  int fd = -1;
  pid_t pid = Spawn(args, true, &fd);
  if (pid < 0) return r;
  r.out = ReadOutput(fd, false, 10s);
  close(fd);
  r.exit_code = WaitExit(pid, 10s);
  return r;
}

DaemonProcess::DaemonProcess(const std::string& directory, std::vector<std::string> extra) {
  std::vector<std::string> args = {"--dir", directory};
  args.insert(args.end(), extra.begin(), extra.end());
  int fd = -1;
  pid_ = Spawn(args, false, &fd);
  if (pid_ < 0) return;
  serving_line_ = ReadOutput(fd, true, 10s);
  close(fd);
}

DaemonProcess::~DaemonProcess() {
  if (pid_ > 0) stop(SIGKILL);
}

int DaemonProcess::stop(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  int code = WaitExit(pid_, 10s);
  pid_ = -1;
  return code;
}

}  // namespace simtest
