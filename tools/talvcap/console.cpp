#include "tools/talvcap/console.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace talvcap {
namespace {

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void OnStopSignal(int) { stop_requested = 1; }

}  // namespace

void InstallStopHandlers() {
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
#ifndef _WIN32
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool StopRequested() { return stop_requested != 0; }

#ifdef _WIN32

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

// Analysers on Windows read a named pipe, which needs nothing of this.
void ReleaseWaitingReader(const std::string&) {}

#else

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

void ReleaseWaitingReader(const std::string& fifo) {
  using namespace std::chrono_literals;
  const auto give_up = std::chrono::steady_clock::now() + 5s;
  while (std::chrono::steady_clock::now() < give_up) {
    // O_NONBLOCK: without a reader the open fails at once instead of waiting.
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
      ::close(fd);
      return;
    }
    if (errno != ENXIO) return;
    std::this_thread::sleep_for(50ms);
  }
}

#endif

}  // namespace talvcap
