#include "platform/shutdown_signals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

// In a child of its own: the handlers are process-wide.
int RunChild(void (*body)()) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST(ShutdownSignalsTest, FirstSignalIsAnEventSecondEndsAtOnce) {
  const int status = RunChild([] {
    if (!platform::InstallShutdownSignals()) ::_exit(10);
    ::raise(SIGTERM);
    pollfd p{platform::ShutdownSignalFd(), POLLIN, 0};
    if (::poll(&p, 1, 5000) != 1) ::_exit(11);
    if (platform::TakeShutdownSignal() != SIGTERM) ::_exit(12);
    // A broken pipe is an error where it is written, not the end.
    int fds[2];
    if (::pipe(fds) != 0) ::_exit(13);
    ::close(fds[0]);
    if (::write(fds[1], "x", 1) != -1 || errno != EPIPE) ::_exit(14);
    ::raise(SIGINT);
    ::_exit(15);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT);
}

}  // namespace
