// A signal to a running talvmon ends it as File > Exit does: the card's
// line disabled and its loop-back switched off.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>
#include <utility>

#include "cardsim/ctl_client.h"
#include "tests/cardsim/daemon_process.h"

namespace {

using namespace std::chrono_literals;

struct Rig {
  pid_t pid = -1;
  std::string first_line;
  Rig() = default;
  Rig(Rig&& other) noexcept : pid(std::exchange(other.pid, -1)), first_line(std::move(other.first_line)) {}
  // A rig left running by a failed test is stopped hard.
  ~Rig() {
    if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  }
};

Rig StartRig(const std::string& dir) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  Rig rig;
  rig.pid = ::fork();
  if (rig.pid == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string ini = dir + "/talvmon.ini";
    ::execl(SIGNAL_RIG_PATH, SIGNAL_RIG_PATH, dir.c_str(), ini.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  pollfd p{fds[0], POLLIN, 0};
  for (char c; ::poll(&p, 1, 20000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n';) rig.first_line += c;
  ::close(fds[0]);
  return rig;
}

// The exit status, or -1 when it had not ended within 20 s.
int WaitFor(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(5ms);
  }
  return status;
}

class ShutdownSignalTest : public ::testing::TestWithParam<int> {
 protected:
  std::string state() {
    std::string error;
    auto client = cardsim::CtlClient::Connect(dir_.path(), &error);
    EXPECT_TRUE(client) << error;
    return client ? client->call("state TALVSTRM1").text : "";
  }

  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_{dir_.path(), {"--card", "TALVSTRM1 pci bus=0 slot=9 t1 configured"}};
};

TEST_P(ShutdownSignalTest, LeavesTheCardDisabledWithoutLoopBack) {
  ASSERT_TRUE(daemon_.serving());
  std::ofstream(dir_.path() + "/talvmon.ini") << "; kept\n[Polling]\nuse_system_timer=1\ntick_interval_ms=200\n";
  Rig rig = StartRig(dir_.path());
  ASSERT_GT(rig.pid, 0);
  ASSERT_EQ(rig.first_line, "ready");
  const std::string busy = state();
  ASSERT_NE(busy.find("comms=1"), std::string::npos) << busy;
  ASSERT_NE(busy.find("loopbacks=line"), std::string::npos) << busy;

  ::kill(rig.pid, GetParam());
  const int status = WaitFor(std::exchange(rig.pid, -1));
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string after = state();
  EXPECT_NE(after.find("comms=0"), std::string::npos) << after;
  EXPECT_EQ(after.find("loopbacks="), std::string::npos) << after;
  EXPECT_NE(after.find("handles=0"), std::string::npos) << after;
  std::ifstream ini(dir_.path() + "/talvmon.ini");
  std::string first;
  std::getline(ini, first);
  EXPECT_EQ(first, "; kept");
}

INSTANTIATE_TEST_SUITE_P(EachSignal, ShutdownSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
