#pragma once
// A whole talvmon (MonitorApp over the fakes) on the socket backend, against
// a real talvcard process whose control channel injects the faults.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

namespace faults {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Ends the process when a test runs past its limit: a hang fails at once,
// also when the binary runs outside ctest.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit);
  ~Watchdog();

 private:
  std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = false;
  std::thread thread_;
};

// Every mailbox command talvmon sends.
const std::vector<uint8_t>& MailboxCommands();

class MonitorOverDaemon : public ::testing::Test {
 protected:
  MonitorOverDaemon();
  ~MonitorOverDaemon() override;

  // The demo cards (TALVSTRM0 ISA with FT1, 1 T1, 2 E1, 3 56K), each keeping
  // a configuration over a restart as a card does over a driver reload.
  void startDaemon();
  void killDaemon();
  // One control command, which must succeed.
  std::string ctl(const std::string& line);

  // Configure Device with the card's media type, then Open Device.
  void connect(const std::string& device);
  // The five monitor windows, Receive Detail, Send Frames and the line
  // windows the card's service unit allows.
  void openEveryWindow();
  // Those of them not open yet whose menu item is available; a failure to
  // open is the program's to show.
  void openMissingWindows();
  // One polling tick and one tick of each window's own timer.
  void tickEveryWindow();

  fake::FakeForm& window(const std::string& name);
  std::string polling(int id);
  bool hasFt1() { return app_->serviceUnit().ft1Present() && app_->serviceUnit().frontEndType() == 0; }
  bool hasTe1();
  bool has56K();
  // Sends one frame from Send Frames and waits until Receive Detail counts it.
  void sendAndAwait(const std::string& hex);
  // Every text and list line of every open window: printable, and of a
  // length its window can hold.
  void expectCleanTexts();

  Watchdog watchdog_{45s};
  simtest::TempDir dir_;
  std::unique_ptr<simtest::DaemonProcess> daemon_;
  std::unique_ptr<cardsim::CtlClient> ctl_;
  SocketCardDriver driver_{dir_.path()};
  std::unique_ptr<ProfileFile> settings_;
  fake::FakeHost host_;
  fake::FakePrompter prompter_;
  std::unique_ptr<MonitorApp> app_;
};

// Milliseconds since start.
inline long long ElapsedMs(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace faults
