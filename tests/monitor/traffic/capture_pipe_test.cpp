// Receive Detail capturing a flood from a real talvcard into files and
// FIFOs whose readers come late, stall or leave.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include "cardsim/ctl_client.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"
#include "tests/support/pcap_file.h"

namespace {

using namespace std::chrono_literals;
using R = ReceiveDetailWindow;
using Clock = std::chrono::steady_clock;

long RssKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

class CapturePipeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }

  CapturePipeTest()
      : daemon_(dir_.path(), {"--card", "TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 configured"}),
        driver_(dir_.path()),
        settings_(dir_.path() + "/talvmon.ini") {
    EXPECT_TRUE(daemon_.serving());
    std::ofstream(dir_.path() + "/talvmon.ini") << "[Polling]\nuse_system_timer=1\ntick_interval_ms=1000\n";
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, settings_});
    EXPECT_TRUE(app_->Start());
    app_->core().connection().setConfigured();
    host_.command(kMenuOpenDevice);
  }
  ~CapturePipeTest() override {
    ctl("gen TALVSTRM0 off");
    host_.command(kMenuDisableCommunications);
    app_.reset();
  }

  std::string ctl(const std::string& line) {
    std::string error;
    auto client = cardsim::CtlClient::Connect(dir_.path(), &error);
    EXPECT_TRUE(client) << error;
    if (!client) return "";
    const cardsim::CtlReply reply = client->call(line);
    EXPECT_TRUE(reply.ok) << line;
    return reply.text;
  }
  // The generated frames the card has handed to a reader.
  std::string handedOut() {
    const std::string report = ctl("gen TALVSTRM0");
    const size_t at = report.find("handed_out=");
    return at == std::string::npos ? report : report.substr(at + 11, report.find(' ', at) - at - 11);
  }
  std::string path(const std::string& name) const { return dir_.path() + "/" + name; }
  fake::FakeForm& detail() { return *host_.window("RDETAIL"); }
  uint32_t counted() { return app_->communications().receptionThread()->framesCounted(); }
  void waitCounted(uint32_t n) {
    const auto deadline = Clock::now() + 20s;
    while (counted() < n && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    ASSERT_GE(counted(), n);
  }
  void drainUntilUnchecked() {
    const auto deadline = Clock::now() + 20s;
    while (detail().isChecked(R::kCapture) && Clock::now() < deadline) {
      app_->communications().receiveDetail()->drain();
      std::this_thread::sleep_for(5ms);
    }
    ASSERT_FALSE(detail().isChecked(R::kCapture));
  }

  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
  ProfileFile settings_;
  fake::FakeHost host_;
  fake::FakePrompter prompter_;
  std::unique_ptr<MonitorApp> app_;
};

TEST_F(CapturePipeTest, DisableMidFloodLeavesEveryCountedFrameInTheFile) {
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    host_.command(kMenuEnableCommunications);
    const std::string file = path("round" + std::to_string(round) + ".pcap");
    prompter_.answerPath(file);
    detail().click(R::kCapture);
    ASSERT_TRUE(detail().isChecked(R::kCapture));
    ctl("gen TALVSTRM0 50000 60");
    waitCounted(50 + 7 * round);
    fake::FakeForm* window = &detail();
    host_.command(kMenuDisableCommunications);
    ctl("gen TALVSTRM0 off");
    // Each frame the card handed over is counted, shown and in the file.
    const PcapFile pcap = ReadPcap(file);
    EXPECT_TRUE(pcap.whole);
    EXPECT_EQ(std::to_string(pcap.records.size()), window->lastText(R::kCounter));
    EXPECT_EQ(std::to_string(pcap.records.size()), handedOut());
    std::remove(file.c_str());
  }
  EXPECT_EQ(prompter_.count(), 0u);
}

TEST_F(CapturePipeTest, ReaderLeavingMidFloodStopsOnlyTheCapture) {
  const std::string fifo = path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  host_.command(kMenuEnableCommunications);
  prompter_.answerPath(fifo);
  // No reader yet: the box is checked at once and the window says why nothing is written.
  detail().click(R::kCapture);
  ASSERT_TRUE(detail().isChecked(R::kCapture));
  EXPECT_EQ(detail().text(R::kCaptureStatus), "Capture: waiting for a reader");

  std::jthread reader([&] {
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    char buffer[5000];
    for (size_t got = 0; got < sizeof buffer;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    ::close(fd);
  });
  ctl("gen TALVSTRM0 20000 100");
  drainUntilUnchecked();
  ASSERT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(prompter_.last().caption, "Capture File Error");
  EXPECT_EQ(prompter_.last().text, "The reader of " + fifo + " has gone away.\nThe capture has stopped.");
  EXPECT_EQ(detail().text(R::kCaptureStatus), "");
  // Reception goes on.
  const uint32_t before = counted();
  waitCounted(before + 100);
  app_->communications().receiveDetail()->drain();
  EXPECT_GE(std::stoul(detail().text(R::kCounter)), before + 100);
}

TEST_F(CapturePipeTest, StalledReaderNeitherHoldsUpTheWindowNorGrowsMemory) {
  const std::string fifo = path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  host_.command(kMenuEnableCommunications);
  prompter_.answerPath(fifo);
  detail().click(R::kCapture);
  ASSERT_TRUE(detail().isChecked(R::kCapture));
  const long rss_before = RssKb();

  // Bounded by the writer's queue, not by what arrived; room for a
  // sanitizer's allocator, which holds freed memory a while.
  constexpr long kRoomKb = 64 * 1024;
  // Big frames for 5 s, and on until far more than the queue holds has
  // come (a slow build takes longer); the reader takes none.
  ctl("gen TALVSTRM0 20000 4000");
  Clock::duration slowest{};
  long rss_most = rss_before;
  const auto begin = Clock::now();
  while (Clock::now() < begin + 5s || (counted() * 4 <= 2 * kRoomKb && Clock::now() < begin + 60s)) {
    const auto start = Clock::now();
    app_->communications().receiveDetail()->drain();
    slowest = std::max(slowest, Clock::now() - start);
    rss_most = std::max(rss_most, RssKb());
    std::this_thread::sleep_for(20ms);
  }
  ctl("gen TALVSTRM0 off");
  const uint32_t offered_kb = counted() * 4;
  std::printf("slowest drain %lld ms, RSS grew %ld kB while %u kB arrived\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count()),
              rss_most - rss_before, offered_kb);
  EXPECT_GT(offered_kb, 2 * kRoomKb);
  EXPECT_LT(rss_most - rss_before, kRoomKb);
  const std::string status = detail().text(R::kCaptureStatus);
  EXPECT_EQ(status.rfind("Capture: ", 0), 0u) << status;
  EXPECT_NE(status.find(" frames not written (reader too slow)"), std::string::npos) << status;
  EXPECT_TRUE(detail().isChecked(R::kCapture));
  ::close(reader);
}

}  // namespace
