#include "tests/tools/talvctl/talvctl_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace ctltest {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

pid_t Spawn(const std::string& directory, const std::vector<std::string>& args, int* out_fd, int* err_fd) {
  int out[2], err[2];
  if (pipe(out) != 0) return -1;
  if (pipe(err) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    close(out[0]), close(out[1]), close(err[0]), close(err[1]);
    setenv("TALVSTRM_DIR", directory.c_str(), 1);
    std::string program = TALVCTL_PATH;
    std::vector<std::string> copy = args;
    std::vector<char*> argv{program.data()};
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  *out_fd = out[0];
  *err_fd = err[0];
  return pid;
}

// Reads what is there from both pipes until `done` or the deadline; a
// closed pipe's descriptor becomes -1.
void Pump(int& out_fd, int& err_fd, CtlRun& run, Clock::time_point deadline, const std::string& wanted = {}) {
  while (out_fd >= 0 || err_fd >= 0) {
    if (!wanted.empty() && run.out.find(wanted) != std::string::npos) return;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return;
    pollfd p[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    if (poll(p, 2, static_cast<int>(left.count())) <= 0) continue;
    int* fds[2] = {&out_fd, &err_fd};
    std::string* texts[2] = {&run.out, &run.err};
    for (int i = 0; i < 2; ++i) {
      if (*fds[i] < 0 || (p[i].revents & (POLLIN | POLLHUP)) == 0) continue;
      char buffer[4096];
      const ssize_t got = read(*fds[i], buffer, sizeof buffer);
      if (got <= 0) {
        close(*fds[i]);
        *fds[i] = -1;
      } else {
        texts[i]->append(buffer, static_cast<size_t>(got));
      }
    }
  }
}

int WaitExit(pid_t pid, Clock::time_point deadline) {
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(2ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

CtlRun RunTalvctl(const std::string& directory, const std::vector<std::string>& args) {
  return TalvctlProcess(directory, args).finish();
}

TalvctlProcess::TalvctlProcess(const std::string& directory, const std::vector<std::string>& args) {
  pid_ = Spawn(directory, args, &out_fd_, &err_fd_);
}

TalvctlProcess::~TalvctlProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (out_fd_ >= 0) close(out_fd_);
  if (err_fd_ >= 0) close(err_fd_);
}

bool TalvctlProcess::awaitOutput(const std::string& text) {
  Pump(out_fd_, err_fd_, run_, Clock::now() + 10s, text);
  return run_.out.find(text) != std::string::npos;
}

void TalvctlProcess::signal(int number) {
  if (pid_ > 0) kill(pid_, number);
}

CtlRun TalvctlProcess::finish() {
  const auto deadline = Clock::now() + 20s;
  Pump(out_fd_, err_fd_, run_, deadline);
  if (pid_ > 0) run_.exit_code = WaitExit(pid_, deadline);
  pid_ = -1;
  return run_;
}

}  // namespace ctltest
