// exec_cmd_*: IOCTL_EXEC_CMD round trips through SocketCardDriver and a
// talvcard daemon, against a raw AF_UNIX ping-pong of the same sizes with
// a peer process. Rounds of the two alternate so both see the same machine.

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>

#include "bench/harness.h"
#include "driver_if/command_block.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"
#include "driver_if/socket_driver.h"
#include "driver_if/wire.h"
#include "tests/cardsim/daemon_process.h"

namespace bench {

namespace {

using namespace std::chrono_literals;

constexpr int kRounds = 5;
constexpr auto kRoundTime = 400ms;
// Read Link Status: a 16-byte block out, 16 + 3 bytes back.
constexpr size_t kRequestBytes = wire::kRequestHeaderSize + kCommandHeaderSize;
constexpr size_t kReplyBytes = wire::kReplyHeaderSize + kCommandHeaderSize + 3;

bool SendExact(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    ssize_t sent = send(fd, data, n, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    n -= static_cast<size_t>(sent);
  }
  return true;
}

bool ReceiveExact(int fd, uint8_t* data, size_t n) {
  while (n > 0) {
    ssize_t got = recv(fd, data, n, 0);
    if (got <= 0) return false;
    data += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

// The baseline: a peer process that answers every request-sized message
// with a reply-sized one.
class RawPeer {
 public:
  RawPeer() {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      std::array<uint8_t, kRequestBytes> request;
      std::array<uint8_t, kReplyBytes> reply{};
      while (ReceiveExact(fds[1], request.data(), request.size()) &&
             SendExact(fds[1], reply.data(), reply.size())) {
      }
      _exit(0);
    }
    close(fds[1]);
    fd_ = fds[0];
  }
  ~RawPeer() {
    if (fd_ >= 0) close(fd_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool roundTrip() {
    return SendExact(fd_, request_.data(), request_.size()) &&
           ReceiveExact(fd_, reply_.data(), reply_.size());
  }

 private:
  int fd_ = -1;
  pid_t pid_ = -1;
  std::array<uint8_t, kRequestBytes> request_{};
  std::array<uint8_t, kReplyBytes> reply_{};
};

Values MeasureExecCmd() {
  simtest::TempDir dir;
  simtest::DaemonProcess daemon(dir.path());
  if (!daemon.serving()) {
    std::fprintf(stderr, "exec_cmd: talvcard did not start\n");
    return {};
  }
  SocketCardDriver driver(dir.path());
  auto handle = driver.open("TALVSTRM0", nullptr);
  RawPeer raw;
  if (!handle) return {};

  CommandBlock block;
  auto socket_step = [&] {
    block.prepare(READ_CHDLC_LINK_STATUS);
    block.setReturnCode(RC_PRESET_TIMEOUT);
    uint32_t returned = 0;
    auto& b = block.bytes();
    return handle->control(IOCTL_EXEC_CMD, b.data(), kCommandHeaderSize, b.data(),
                           kExecCmdOutputSize, &returned) &&
           block.returnCode() == RC_OK;
  };
  auto raw_step = [&] { return raw.roundTrip(); };

  RatePerSecond(100ms, socket_step);  // warm up both paths
  RatePerSecond(100ms, raw_step);
  std::vector<double> socket_rates, raw_rates, ratios;
  for (int round = 0; round < kRounds; ++round) {
    double r = RatePerSecond(kRoundTime, raw_step);
    double s = RatePerSecond(kRoundTime, socket_step);
    raw_rates.push_back(r);
    socket_rates.push_back(s);
    ratios.push_back(r > 0 ? s / r : 0);
  }
  return {{"exec_cmd_socket_rate", Median(socket_rates)},
          {"exec_cmd_raw_rate", Median(raw_rates)},
          {"exec_cmd_socket_vs_raw", Median(ratios)}};
}

}  // namespace

void RegisterExecCmdFigures(Registry& registry) {
  registry.add({"exec_cmd",
                {{"exec_cmd_socket_rate", "requests/s", 0},
                 {"exec_cmd_raw_rate", "requests/s", 0},
                 {"exec_cmd_socket_vs_raw", "ratio", 2}},
                true,
                MeasureExecCmd});
}

}  // namespace bench
