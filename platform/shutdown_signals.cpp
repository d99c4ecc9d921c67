#include "platform/shutdown_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace platform {
namespace {

int pipe_fds[2] = {-1, -1};
std::atomic<int> signals_seen{0};

void OnShutdownSignal(int signal) {
  // Only async-signal-safe calls here.
  if (signals_seen.fetch_add(1) > 0) _exit(128 + signal);
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] ssize_t n = ::write(pipe_fds[1], &byte, 1);
  errno = saved;
}

}  // namespace

bool InstallShutdownSignals() {
  if (pipe_fds[0] >= 0) return true;
  std::signal(SIGPIPE, SIG_IGN);
  if (::pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = OnShutdownSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP})
    if (::sigaction(signal, &action, nullptr) != 0) return false;
  return true;
}

int ShutdownSignalFd() { return pipe_fds[0]; }

int TakeShutdownSignal() {
  int last = 0;
  unsigned char byte = 0;
  while (::read(pipe_fds[0], &byte, 1) == 1) last = byte;
  return last;
}

}  // namespace platform
