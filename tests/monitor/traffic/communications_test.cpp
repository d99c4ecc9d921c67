#include "monitor/traffic/communications.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/monitor/traffic/frame_feed.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

namespace {

using namespace std::chrono_literals;
using W = ReceiveDetailWindow;

class CommunicationsTest : public ::testing::Test {
 protected:
  CommunicationsTest()
      : ini_(std::filesystem::temp_directory_path() / ("talvmon-comms-" + std::to_string(::getpid()) + ".ini")),
        settings_(ini_.string()) {
    std::ofstream(ini_) << "[Polling]\nuse_system_timer=0\n";
    app = std::make_unique<MonitorApp>(CoreServices{host, prompter, feed, settings_});
    EXPECT_TRUE(app->Start());
    app->core().connection().setConfigured();
    host.command(kMenuOpenDevice);
  }
  ~CommunicationsTest() override {
    app.reset();
    std::filesystem::remove(ini_);
  }
  Communications& comms() { return app->communications(); }
  // Waits until the thread has counted n frames, then shows what it left.
  void waitFor(uint32_t n) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (comms().receptionThread()->framesCounted() < n && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    ASSERT_EQ(comms().receptionThread()->framesCounted(), n);
    std::this_thread::sleep_for(5ms);
    comms().receiveDetail()->drain();
  }
  fake::FakeForm& detail() { return *host.window("RDETAIL"); }
  size_t count(uint8_t command) {
    auto c = feed.commands();
    return std::count(c.begin(), c.end(), command);
  }

  fake::FakeHost host;
  fake::FakePrompter prompter;
  FrameFeed feed;
  std::filesystem::path ini_;
  ProfileFile settings_;
  std::unique_ptr<MonitorApp> app;
};

TEST_F(CommunicationsTest, EnableOpensTheWindowAndFramesArriveInOrder) {
  host.command(kMenuEnableCommunications);
  ASSERT_NE(host.window("RDETAIL"), nullptr);
  EXPECT_TRUE(host.timerRunning(detail(), W::kDrainTimer));
  EXPECT_TRUE(detail().isChecked(W::kDisplay));
  EXPECT_TRUE(detail().isChecked(W::kCount));
  EXPECT_EQ(detail().text(W::kCounter), "0");
  feed.push({{0x03, 0xCC, 0x45, 0x01, 0xAB, 0xCD}, 0x00, 77});
  waitFor(1);
  EXPECT_EQ(detail().lines(W::kList), (std::vector<std::string>{"0x00     4      77     03 CC 45 01 "}));
  EXPECT_EQ(detail().listSelection(W::kList), 0);
  EXPECT_EQ(detail().text(W::kDump), "0000  03 CC 45 01 AB CD \r\n");
  EXPECT_EQ(detail().text(W::kCounter), "1");
  for (int i = 0; i < 59; ++i) feed.push({{static_cast<uint8_t>(i), 0, 0}, 0, static_cast<uint16_t>(i)});
  waitFor(60);
  auto lines = detail().lines(W::kList);
  ASSERT_EQ(lines.size(), 49u);
  EXPECT_EQ(lines.front().substr(0, 23), "0x00     1      10     ");
  EXPECT_EQ(lines.back().substr(0, 23), "0x00     1      58     ");
  EXPECT_EQ(detail().listSelection(W::kList), 48);
  EXPECT_EQ(detail().text(W::kCounter), "60");
  host.command(kMenuDisableCommunications);
}

TEST_F(CommunicationsTest, CounterGoesOnPast65535) {
  host.command(kMenuEnableCommunications);
  detail().click(W::kDisplay);
  for (int i = 0; i < 65537; ++i) feed.push({{0x01}});
  waitFor(65537);
  EXPECT_EQ(detail().text(W::kCounter), "65537");
  host.command(kMenuDisableCommunications);
}

TEST_F(CommunicationsTest, DisplayAndCountChecksWorkApart) {
  host.command(kMenuEnableCommunications);
  feed.push({{1, 2, 3}});
  waitFor(1);
  detail().click(W::kDisplay);
  detail().click(W::kCount);
  feed.push({{9, 9, 9}});
  feed.push({{8, 8, 8}});
  waitFor(3);
  EXPECT_EQ(detail().lines(W::kList).size(), 1u);
  EXPECT_EQ(detail().text(W::kCounter), "1");
  EXPECT_EQ(detail().text(W::kDump), "0000  01 02 03 \r\n");
  detail().click(W::kCount);
  feed.push({{7, 7, 7}});
  waitFor(4);
  EXPECT_EQ(detail().text(W::kCounter), "4");
  EXPECT_EQ(detail().lines(W::kList).size(), 1u);
  host.command(kMenuDisableCommunications);
}

TEST_F(CommunicationsTest, BadFramesNeitherShowNorCount) {
  host.command(kMenuEnableCommunications);
  FrameFeed::Frame invalid{{1, 2}};
  invalid.valid = 0;
  feed.push(invalid);
  FrameFeed::Frame huge{{0xEE}};
  huge.length = 0xFFFF;
  feed.push(huge);
  FrameFeed::Frame tiny{{0x55}};
  feed.push(tiny);
  feed.push({{}});
  waitFor(3);
  auto lines = detail().lines(W::kList);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "0x00     0       0     ");  // length 1: no wrap to 65535
  EXPECT_EQ(detail().text(W::kDump), "\r\n");
  host.command(kMenuDisableCommunications);
}

TEST_F(CommunicationsTest, AFailedRequestMidStreamEndsTheReaderAfterWhatCameFirst) {
  host.command(kMenuEnableCommunications);
  feed.push({{1, 2, 3}});
  FrameFeed::Frame failing;
  failing.fail = true;
  feed.push(failing);
  feed.push({{4, 5, 6}});
  ASSERT_TRUE(comms().receptionThread()->waitForEnd(5s));
  comms().receiveDetail()->drain();
  EXPECT_EQ(comms().receptionThread()->framesCounted(), 1u);
  EXPECT_EQ(detail().lines(W::kList).size(), 1u);
  EXPECT_EQ(detail().text(W::kCounter), "1");
  EXPECT_EQ(feed.open_handles(), 1);  // the reader's handle is closed
  auto start = std::chrono::steady_clock::now();
  host.command(kMenuDisableCommunications);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(CommunicationsTest, EnableTwiceAndRefusedEnable) {
  feed.setCode(ENABLE_CHDLC_COMMUNICATIONS, {0x41, 0});
  host.command(kMenuEnableCommunications);
  EXPECT_EQ(host.window("RDETAIL"), nullptr);
  EXPECT_FALSE(comms().enabled());
  host.command(kMenuEnableCommunications);
  host.command(kMenuEnableCommunications);
  EXPECT_EQ(count(ENABLE_CHDLC_COMMUNICATIONS), 2u);
  EXPECT_EQ(host.windows().size(), 2u);  // Polling and Device Info, Receive Detail
  host.command(kMenuDisableCommunications);
}

TEST_F(CommunicationsTest, DisableRepeatsUpTo21CommandsAndEndsTheThread) {
  host.command(kMenuEnableCommunications);
  host.command(kMenuSendFrames);
  feed.setCode(DISABLE_CHDLC_COMMUNICATIONS, {0x01});
  feed.disable_ends_reception = false;
  auto start = std::chrono::steady_clock::now();
  host.command(kMenuDisableCommunications);
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(count(DISABLE_CHDLC_COMMUNICATIONS), 21u);
  EXPECT_EQ(host.window("RDETAIL"), nullptr);
  EXPECT_EQ(host.window("DENTRY"), nullptr);
  EXPECT_EQ(comms().receptionThread(), nullptr);
  EXPECT_FALSE(comms().enabled());
  // The reader that the driver kept blocked was cancelled after the pause.
  EXPECT_GE(took, 2900ms);
  EXPECT_EQ(feed.open_handles(), 1);
}

TEST_F(CommunicationsTest, DisableDoesNotWaitWhenTheReaderEnds) {
  host.command(kMenuEnableCommunications);
  auto start = std::chrono::steady_clock::now();
  host.command(kMenuDisableCommunications);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(count(DISABLE_CHDLC_COMMUNICATIONS), 1u);
  // Without a thread there is nothing to wait for.
  host.command(kMenuDisableCommunications);
  EXPECT_EQ(count(DISABLE_CHDLC_COMMUNICATIONS), 2u);
}

TEST_F(CommunicationsTest, DisablingWhileFramesFloodIn) {
  host.command(kMenuEnableCommunications);
  std::atomic<bool> stop{false};
  std::thread flood([&] {
    for (uint16_t i = 0; !stop; ++i) feed.push({{1, 2, 3, 4, 5, 6}, 0, i});
  });
  std::this_thread::sleep_for(30ms);
  host.command(kMenuDisableCommunications);
  stop = true;
  flood.join();
  EXPECT_EQ(comms().receptionThread(), nullptr);
}

TEST_F(CommunicationsTest, ReaderThatCannotOpenSaysSo) {
  feed.fail_reader_open = true;
  host.command(kMenuEnableCommunications);
  ASSERT_TRUE(comms().receptionThread()->waitForEnd(5s));
  comms().receiveDetail()->drain();
  EXPECT_EQ(detail().lines(W::kList), (std::vector<std::string>{"Unable to open device for reading!"}));
  host.command(kMenuDisableCommunications);
}

TEST_F(CommunicationsTest, CloseDeviceAndExitWithCommunicationsEnabled) {
  host.command(kMenuEnableCommunications);
  host.command(kMenuCloseDevice);
  EXPECT_EQ(count(DISABLE_CHDLC_COMMUNICATIONS), 1u);
  EXPECT_EQ(host.window("RDETAIL"), nullptr);
  EXPECT_EQ(feed.open_handles(), 0);

  host.command(kMenuOpenDevice);
  host.command(kMenuEnableCommunications);
  host.command(kMenuSendFrames);
  host.command(kMenuExit);
  host.runPosted();
  EXPECT_TRUE(host.windows().empty());
  EXPECT_TRUE(comms().enabled());
  app->Exit(0);
  EXPECT_EQ(count(DISABLE_CHDLC_COMMUNICATIONS), 2u);
  EXPECT_FALSE(comms().enabled());
  EXPECT_EQ(comms().receptionThread(), nullptr);
  EXPECT_EQ(feed.open_handles(), 0);
}

class SendFramesTest : public CommunicationsTest {
 protected:
  void SetUp() override { host.command(kMenuSendFrames); }
  fake::FakeForm& window() { return *host.window("DENTRY"); }
  void send(const std::string& text) {
    window().type(SendFramesWindow::kData, text);
    window().click(SendFramesWindow::kSend);
  }
};

TEST_F(SendFramesTest, HexAndTextFrames) {
  using S = SendFramesWindow;
  EXPECT_EQ(window().text(S::kLength), "100");
  EXPECT_EQ(window().text(S::kStatus), "Stopped");
  send("03 CC 45 01");
  send("");
  window().click(S::kDataIsText);
  send("ABC");
  auto frames = feed.sentFrames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0], (std::vector<uint8_t>{0x03, 0xCC, 0x45, 0x01}));
  EXPECT_TRUE(frames[1].empty());
  EXPECT_EQ(frames[2], (std::vector<uint8_t>{'A', 'B', 'C'}));
  EXPECT_EQ(window().text(S::kStatus), "Sent - RC 0x00");
  EXPECT_EQ(window().lines(S::kHistory), (std::vector<std::string>{"ABC", "", "03 CC 45 01"}));
  feed.send_result = 0x05;
  send("x");
  EXPECT_EQ(window().text(S::kStatus), "Sent - RC 0x05");
}

TEST_F(SendFramesTest, HistoryRecallAndMemoryAcrossOpenings) {
  using S = SendFramesWindow;
  for (int i = 1; i <= 11; ++i) send(std::to_string(i));
  auto lines = window().lines(S::kHistory);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines.front(), "11");
  EXPECT_EQ(lines.back(), "2");
  window().doubleClick(S::kHistory, 3);
  EXPECT_EQ(window().text(S::kData), "8");
  window().click(S::kDataIsText);
  send("t");
  window().click(S::kClose);
  host.runPosted();
  EXPECT_EQ(host.window("DENTRY"), nullptr);
  host.command(kMenuSendFrames);
  EXPECT_TRUE(window().isChecked(S::kDataIsText));
  EXPECT_EQ(window().lines(S::kHistory).front(), "t");
}

TEST_F(SendFramesTest, SendManyPacedByTicks) {
  using S = SendFramesWindow;
  window().type(S::kLength, "65537");
  window().click(S::kStartStop);
  EXPECT_EQ(window().text(S::kLength), "1000");
  EXPECT_EQ(window().text(S::kStartStop), "Stop");
  EXPECT_EQ(window().text(S::kStatus), "Starting...");
  host.command(kMenuPollNow);
  host.command(kMenuPollNow);
  auto frames = feed.sentFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0], std::vector<uint8_t>(1000, 0x00));
  EXPECT_EQ(frames[1], std::vector<uint8_t>(1000, 0x01));
  EXPECT_EQ(window().text(S::kStatus), "Sent # 1: 01 01 01... - RC 0x00");
  // A refused frame is offered again with the same pattern.
  feed.send_result = 3;
  host.command(kMenuPollNow);
  host.command(kMenuPollNow);
  EXPECT_EQ(window().text(S::kStatus), "Sent # 2: 02 02 02... - RC 0x03");
  EXPECT_EQ(feed.sentFrames().back(), std::vector<uint8_t>(1000, 0x02));
  window().click(S::kStartStop);
  EXPECT_EQ(window().text(S::kStatus), "Stopped");
  size_t before = feed.sentFrames().size();
  host.command(kMenuPollNow);
  EXPECT_EQ(feed.sentFrames().size(), before);
}

TEST_F(SendFramesTest, PatternAndCounterWrap) {
  using S = SendFramesWindow;
  window().type(S::kLength, "0");
  window().click(S::kStartStop);
  for (int i = 0; i < 256; ++i) host.command(kMenuPollNow);
  EXPECT_EQ(window().text(S::kStatus), "Sent # 255: FF FF FF... - RC 0x00");
  host.command(kMenuPollNow);
  EXPECT_EQ(window().text(S::kStatus), "Sent # 256: 00 00 00... - RC 0x00");
  EXPECT_TRUE(feed.sentFrames().back().empty());
  // The sent counter is 16 bits wide: 65535 is followed by 0.
  for (int i = 257; i < 65536; ++i) host.command(kMenuPollNow);
  EXPECT_EQ(window().text(S::kStatus), "Sent # 65535: FF FF FF... - RC 0x00");
  host.command(kMenuPollNow);
  EXPECT_EQ(window().text(S::kStatus), "Sent # 0: 00 00 00... - RC 0x00");
}

TEST_F(SendFramesTest, ClosedDeviceMakesSendsFailWithOne) {
  using S = SendFramesWindow;
  host.command(kMenuCloseDevice);
  ASSERT_NE(host.window("DENTRY"), nullptr);  // Close Device leaves it open
  send("01");
  EXPECT_EQ(window().text(S::kStatus), "Sent - RC 0x01");
}

}  // namespace
