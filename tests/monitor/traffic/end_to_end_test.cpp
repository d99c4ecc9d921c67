// talvmon's traffic path end to end: Send Frames and Receive Detail of a
// MonitorApp over the socket backend and a real talvcard.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cardsim/fcs.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/traffic/frame_format.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

namespace {

using namespace std::chrono_literals;
using R = ReceiveDetailWindow;
using S = SendFramesWindow;

// The dump of a frame with its check bytes, as the window shows it.
std::string ExpectedDump(std::vector<uint8_t> bytes) {
  uint16_t fcs = cardsim::Fcs16(bytes);
  bytes.push_back(static_cast<uint8_t>(fcs));
  bytes.push_back(static_cast<uint8_t>(fcs >> 8));
  return FrameDump(bytes);
}

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest()
      : daemon_(dir_.path(), {"--card", "TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 configured"}),
        driver_(dir_.path()),
        ini_(dir_.path() + "/talvmon.ini"),
        settings_(ini_) {
    EXPECT_TRUE(daemon_.serving());
    std::ofstream(ini_) << "[Polling]\nuse_system_timer=1\ntick_interval_ms=1000\n"
                        << "[Hardware]\ndefault_device=TALVSTRM0\n";
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, settings_});
    EXPECT_TRUE(app_->Start());
    app_->core().connection().setConfigured();
    host_.command(kMenuOpenDevice);
    EXPECT_TRUE(app_->core().connection().connected());
    host_.command(kMenuEnableCommunications);
    host_.command(kMenuSendFrames);
  }
  ~EndToEndTest() override {
    host_.command(kMenuDisableCommunications);
    app_.reset();
  }

  fake::FakeForm& send() { return *host_.window("DENTRY"); }
  fake::FakeForm& detail() { return *host_.window("RDETAIL"); }
  void sendText(const std::string& text) {
    send().type(S::kData, text);
    send().click(S::kSend);
    EXPECT_EQ(send().text(S::kStatus), "Sent - RC 0x00") << text;
  }
  // Waits until the reader has counted n frames, then shows what it left.
  void waitFor(uint32_t n) {
    ReceptionThread* thread = app_->communications().receptionThread();
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (thread->framesCounted() < n && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    ASSERT_EQ(thread->framesCounted(), n);
    std::this_thread::sleep_for(5ms);
    app_->communications().receiveDetail()->drain();
  }

  simtest::TempDir dir_;
  simtest::DaemonProcess daemon_;
  SocketCardDriver driver_;
  std::string ini_;
  ProfileFile settings_;
  fake::FakeHost host_;
  fake::FakePrompter prompter_;
  std::unique_ptr<MonitorApp> app_;
};

TEST_F(EndToEndTest, SentFramesArriveByteForByteWithTheirCheckBytes) {
  sendText("03 CC 45 01");
  waitFor(1);
  EXPECT_EQ(detail().text(R::kDump), ExpectedDump({0x03, 0xCC, 0x45, 0x01}));
  auto lines = detail().lines(R::kList);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 11), "0x00     4 ");
  EXPECT_EQ(lines[0].substr(lines[0].size() - 12), "03 CC 45 01 ");
  EXPECT_EQ(detail().text(R::kCounter), "1");

  send().click(S::kDataIsText);
  sendText("Hello, line; a frame of text longer than one row");
  waitFor(2);
  const std::string text = "Hello, line; a frame of text longer than one row";
  EXPECT_EQ(detail().text(R::kDump), ExpectedDump({text.begin(), text.end()}));
  EXPECT_EQ(detail().lines(R::kList).size(), 2u);
}

TEST_F(EndToEndTest, SendManyFramesArriveInOrder) {
  send().type(S::kLength, "300");
  send().click(S::kStartStop);
  for (int i = 0; i < 5; ++i) host_.command(kMenuPollNow);
  EXPECT_EQ(send().text(S::kStatus), "Sent # 4: 04 04 04... - RC 0x00");
  waitFor(5);
  auto lines = detail().lines(R::kList);
  ASSERT_EQ(lines.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    char expected[8];
    std::snprintf(expected, sizeof expected, "%02X %02X ", i, i);
    EXPECT_EQ(lines[i].substr(0, 11), "0x00   300 ") << i;
    EXPECT_NE(lines[i].find(expected), std::string::npos) << i;
  }
  EXPECT_EQ(detail().text(R::kDump), ExpectedDump(std::vector<uint8_t>(300, 0x04)));
  EXPECT_EQ(detail().text(R::kCounter), "5");
}

TEST_F(EndToEndTest, FramesRefusedByTheCardShowTheirResult) {
  send().click(S::kDataIsText);
  send().type(S::kData, std::string(999, 'x'));
  // The card was configured with the default max_frame_size of 2000: 999 bytes pass.
  send().click(S::kSend);
  EXPECT_EQ(send().text(S::kStatus), "Sent - RC 0x00");
  waitFor(1);
  host_.command(kMenuDisableCommunications);
  host_.command(kMenuSendFrames);
  send().type(S::kData, "01");
  send().click(S::kSend);
  EXPECT_EQ(send().text(S::kStatus), "Sent - RC 0x02");  // the line is down
}

}  // namespace
