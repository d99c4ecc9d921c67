// "Capture to file..." in Receive Detail and Send Frames, over a fed card.

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/monitor/traffic/frame_feed.h"
#include "tests/support/pcap_file.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"
#include "tests/support/file_size_limit.h"

namespace {

using namespace std::chrono_literals;
using R = ReceiveDetailWindow;
using S = SendFramesWindow;

uint32_t Now() {
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

using fake::FileSizeLimit;

class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest()
      : dir_(std::filesystem::temp_directory_path() / ("talvmon-capture-" + std::to_string(::getpid()))),
        settings_((dir_ / "talvmon.ini").string()) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "talvmon.ini") << "[Polling]\nuse_system_timer=0\n";
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, feed_, settings_});
    EXPECT_TRUE(app_->Start());
    app_->core().connection().setConfigured();
    host_.command(kMenuOpenDevice);
    host_.command(kMenuEnableCommunications);
    host_.command(kMenuSendFrames);
  }
  ~CaptureTest() override {
    host_.command(kMenuDisableCommunications);
    app_.reset();
    std::filesystem::remove_all(dir_);
  }

  std::string path(const char* name) const { return (dir_ / name).string(); }
  fake::FakeForm& detail() { return *host_.window("RDETAIL"); }
  fake::FakeForm& send() { return *host_.window("DENTRY"); }
  void waitFor(uint32_t n) {
    ReceptionThread* thread = app_->communications().receptionThread();
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (thread->framesCounted() < n && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    ASSERT_EQ(thread->framesCounted(), n);
    std::this_thread::sleep_for(5ms);
    app_->communications().receiveDetail()->drain();
  }
  void sendHex(const std::string& hex) {
    send().type(S::kData, hex);
    send().click(S::kSend);
  }
  // The writer works on a thread of its own: waits for what it has written.
  void waitForRecords(const std::string& file, size_t n) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (ReadPcap(file).records.size() < n && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    ASSERT_EQ(ReadPcap(file).records.size(), n) << file;
  }
  // Runs `tick` until the window's box is unchecked, as a failed capture does.
  void waitUnchecked(fake::FakeForm& window, int box, const std::function<void()>& tick) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (window.isChecked(box) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(1ms);
      tick();
    }
    ASSERT_FALSE(window.isChecked(box));
  }
  std::vector<std::vector<uint8_t>> captured(const std::string& file) {
    PcapFile pcap = ReadPcap(file);
    EXPECT_TRUE(pcap.whole) << file;
    EXPECT_EQ(pcap.header, (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1, 2, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                                0xFF, 0xFF, 0, 0, 104, 0, 0, 0}))
        << file;
    std::vector<std::vector<uint8_t>> frames;
    for (const auto& r : pcap.records) {
      EXPECT_EQ(r.original_length, r.bytes.size());
      frames.push_back(r.bytes);
    }
    return frames;
  }

  std::filesystem::path dir_;
  ProfileFile settings_;
  fake::FakeHost host_;
  fake::FakePrompter prompter_;
  FrameFeed feed_;
  std::unique_ptr<MonitorApp> app_;
};

TEST_F(CaptureTest, ReceivedFramesAreCapturedWithoutTheirCheckBytes) {
  feed_.push({{0xAA, 0xBB, 0x01, 0x02}});  // before the capture: not in the file
  waitFor(1);
  const std::string file = path("rx.pcap");
  prompter_.answerPath(file);
  const uint32_t start = Now();
  detail().click(R::kCapture);
  ASSERT_TRUE(detail().isChecked(R::kCapture));
  ASSERT_EQ(prompter_.pathPrompts().size(), 1u);
  EXPECT_EQ(prompter_.pathPrompts()[0].owner_form, &detail());
  EXPECT_EQ(prompter_.count(), 0u);

  // Frames of 0 and 1 bytes have nothing before the check bytes.
  feed_.push({{0x0F, 0x00, 0x08, 0x00, 0x45, 0x00, 0xAB, 0xCD}});
  feed_.push({{0x7E}});
  feed_.push({{}});
  feed_.push({{0x8F, 0x00, 0x80, 0x35, 0x12, 0x34}});
  waitFor(5);
  waitForRecords(file, 4);  // readable while the capture goes on
  PcapFile pcap = ReadPcap(file);
  ASSERT_EQ(pcap.records.size(), 4u);
  EXPECT_GE(pcap.records[0].seconds, start);
  EXPECT_LE(pcap.records[3].seconds, Now());
  EXPECT_EQ(captured(file), (std::vector<std::vector<uint8_t>>{
                                {0x0F, 0x00, 0x08, 0x00, 0x45, 0x00}, {}, {}, {0x8F, 0x00, 0x80, 0x35}}));

  // Frames are captured whatever the other check boxes say.
  detail().click(R::kDisplay);
  detail().click(R::kCount);
  feed_.push({{0x0F, 0x00, 0x00, 0x01, 0xEE, 0xEE}});
  waitFor(6);
  waitForRecords(file, 5);

  // Unchecking closes the file; later frames stay out of it and out of the next capture.
  detail().click(R::kCapture);
  EXPECT_FALSE(detail().isChecked(R::kCapture));
  feed_.push({{0x01, 0x02, 0x03}});
  waitFor(7);
  EXPECT_EQ(captured(file).size(), 5u);
  const std::string second = path("rx2.pcap");
  prompter_.answerPath(second);
  detail().click(R::kCapture);
  feed_.push({{0x0F, 0x00, 0x00, 0x02, 0x00, 0x00}});
  waitFor(8);
  waitForRecords(second, 1);
  EXPECT_EQ(captured(second), (std::vector<std::vector<uint8_t>>{{0x0F, 0x00, 0x00, 0x02}}));
}

TEST_F(CaptureTest, FramesNotYetShownReachTheFileWhenTheWindowCloses) {
  const std::string file = path("closing.pcap");
  prompter_.answerPath(file);
  detail().click(R::kCapture);
  feed_.push({{0x0F, 0x00, 0x08, 0x00, 0x01, 0x02}});
  while (app_->communications().receptionThread()->framesCounted() < 1) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(5ms);
  host_.command(kMenuDisableCommunications);
  EXPECT_EQ(captured(file), (std::vector<std::vector<uint8_t>>{{0x0F, 0x00, 0x08, 0x00}}));
}

TEST_F(CaptureTest, CancelOrAFileThatCannotBeOpenedLeavesTheBoxesUnchecked) {
  for (fake::FakeForm* window : {&detail(), &send()}) {
    const int box = window == &detail() ? R::kCapture : S::kCapture;
    prompter_.answerPath(std::nullopt);
    window->click(box);
    EXPECT_FALSE(window->isChecked(box));
    EXPECT_EQ(prompter_.count(), 0u);

    const std::string missing = path("no-such-dir") + "/x.pcap";
    prompter_.answerPath(missing);
    window->click(box);
    EXPECT_FALSE(window->isChecked(box));
    ASSERT_EQ(prompter_.count(), 1u);
    EXPECT_EQ(prompter_.last().caption, "Capture File Error");
    EXPECT_EQ(prompter_.last().text, "Can not open the file " + missing + "\n");
    EXPECT_EQ(prompter_.last().icon, ui::Icon::Error);
    EXPECT_EQ(prompter_.last().owner_form, window);
    prompter_.clear();
  }
  sendHex("0F 00 08 00");
  EXPECT_EQ(send().text(S::kStatus), "Sent - RC 0x00");
}

TEST_F(CaptureTest, AFailedWriteStopsTheReceiveCaptureVisibly) {
  const std::string file = path("full.pcap");
  prompter_.answerPath(file);
  detail().click(R::kCapture);
  ASSERT_TRUE(detail().isChecked(R::kCapture));
  {
    FileSizeLimit limit(100);
    feed_.push({{0x0F, 0x00, 0x08, 0x00, 0xAB, 0xCD}});
    waitFor(1);
    EXPECT_TRUE(detail().isChecked(R::kCapture));
    waitForRecords(file, 1);
    feed_.push({std::vector<uint8_t>(200, 0x0F)});
    waitFor(2);
    waitUnchecked(detail(), R::kCapture, [&] { app_->communications().receiveDetail()->drain(); });
  }
  ASSERT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(prompter_.last().caption, "Capture File Error");
  EXPECT_EQ(prompter_.last().text, "Can not write the file " + file + "\nThe capture has stopped.");
  // Reception goes on, and the frames before the failure stay in the file.
  EXPECT_EQ(detail().text(R::kCounter), "2");
  feed_.push({{0x0F, 0x00, 0x08, 0x00, 0x00, 0x00}});
  waitFor(3);
  EXPECT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(ReadPcap(file).records.size(), 1u);
}

TEST_F(CaptureTest, SentFramesAreCapturedAsSent) {
  const std::string file = path("tx.pcap");
  prompter_.answerPath(file);
  send().click(S::kCapture);
  ASSERT_TRUE(send().isChecked(S::kCapture));
  EXPECT_EQ(prompter_.pathPrompts().back().owner_form, &send());
  sendHex("0F 00 08 00 45 00");
  send().click(S::kDataIsText);
  send().type(S::kData, "text");
  send().click(S::kSend);
  send().click(S::kDataIsText);
  // A frame the card refused never went on the line.
  feed_.send_result = 0x05;
  sendHex("8F 00 00 00");
  feed_.send_result = 0;
  send().type(S::kLength, "3");
  send().click(S::kStartStop);
  host_.command(kMenuPollNow);
  send().click(S::kStartStop);
  waitForRecords(file, 3);
  EXPECT_EQ(captured(file), (std::vector<std::vector<uint8_t>>{
                                {0x0F, 0x00, 0x08, 0x00, 0x45, 0x00}, {'t', 'e', 'x', 't'}, {0, 0, 0}}));

  send().click(S::kCapture);
  EXPECT_FALSE(send().isChecked(S::kCapture));
  sendHex("0F 00 00 00");
  EXPECT_EQ(captured(file).size(), 3u);
}

TEST_F(CaptureTest, AFailedWriteStopsTheSendCaptureVisibly) {
  const std::string file = path("txfull.pcap");
  prompter_.answerPath(file);
  send().click(S::kCapture);
  {
    FileSizeLimit limit(100);
    sendHex("0F 00 08 00");
    EXPECT_TRUE(send().isChecked(S::kCapture));
    waitForRecords(file, 1);
    send().click(S::kDataIsText);
    send().type(S::kData, std::string(200, 'x'));
    send().click(S::kSend);
    EXPECT_EQ(send().text(S::kStatus), "Sent - RC 0x00");
    waitUnchecked(send(), S::kCapture, [&] { host_.command(kMenuPollNow); });
  }
  ASSERT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(prompter_.last().text, "Can not write the file " + file + "\nThe capture has stopped.");
  send().click(S::kSend);
  EXPECT_EQ(prompter_.count(), 1u);
  EXPECT_EQ(feed_.sentFrames().size(), 3u);
  EXPECT_EQ(ReadPcap(file).records.size(), 1u);
}

// The status bar follows every running capture and opens its folder on a click.
TEST_F(CaptureTest, StatusLineShowsEachRunningCaptureAndOpensItsFolder) {
  const auto status = [&] { return host_.statusText(ui::StatusField::Capture); };
  EXPECT_EQ(status(), "");
  prompter_.answerPath(path("rx.pcap"));
  detail().click(R::kCapture);
  EXPECT_EQ(status(), "Capturing to rx.pcap: 0 frames written (24 bytes), 0 not written");

  feed_.push({{0x0F, 0x00, 0x08, 0x00, 0x45, 0x00, 0xAB, 0xCD}});  // 6 bytes captured, 16-byte record header
  feed_.push({{0x01, 0x02, 0x03}});
  waitFor(2);
  waitForRecords(path("rx.pcap"), 2);
  // The writer counts on its own thread; the line follows at the next tick.
  host_.command(kMenuPollNow);
  EXPECT_EQ(status(), "Capturing to rx.pcap: 2 frames written (63 bytes), 0 not written");

  prompter_.answerPath(path("tx.pcap"));
  send().click(S::kCapture);
  sendHex("01 02 03 04");
  waitForRecords(path("tx.pcap"), 1);
  host_.command(kMenuPollNow);
  EXPECT_EQ(status(),
            "Capturing to rx.pcap: 2 frames written (63 bytes), 0 not written; "
            "tx.pcap: 1 frame written (44 bytes), 0 not written");

  host_.clickStatus(ui::StatusField::Capture);
  ASSERT_EQ(host_.opened_folders.size(), 1u);
  EXPECT_EQ(host_.opened_folders[0], dir_.string());

  detail().click(R::kCapture);
  EXPECT_EQ(status(), "Capturing to tx.pcap: 1 frame written (44 bytes), 0 not written");
  send().click(S::kCapture);
  EXPECT_EQ(status(), "");
  host_.clickStatus(ui::StatusField::Capture);
  EXPECT_EQ(host_.opened_folders.size(), 1u);
}

// A failed write ends the capture: the line must not go on claiming one runs.
TEST_F(CaptureTest, StatusLineGoesWhenAFailedWriteEndsTheCapture) {
  prompter_.answerPath(path("full.pcap"));
  send().click(S::kCapture);
  ASSERT_FALSE(host_.statusText(ui::StatusField::Capture).empty());
  {
    FileSizeLimit limit(30);
    sendHex("0F 00 08 00");
    waitUnchecked(send(), S::kCapture, [&] { host_.command(kMenuPollNow); });
  }
  EXPECT_EQ(host_.statusText(ui::StatusField::Capture), "");
}

TEST_F(CaptureTest, TokensThatAreNotHexadecimalAreMarkedBeforeSending) {
  send().edit(S::kData, "03 0G CC zz 123 x");
  const std::vector<ui::TextMark> marks = send().marks(S::kData);
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0].start, 3u);
  EXPECT_EQ(marks[0].length, 2u);
  EXPECT_EQ(marks[0].tip, "'0G' is not hexadecimal; sent as 00");
  EXPECT_EQ(marks[1].tip, "'zz' is not hexadecimal; sent as 00");
  EXPECT_EQ(marks[1].start, 9u);
  EXPECT_EQ(marks[2].tip, "'x' is not hexadecimal; sent as 00");

  // A leading digit is what is sent: the mark says which byte.
  send().edit(S::kData, "  A-1");
  ASSERT_EQ(send().marks(S::kData).size(), 1u);
  EXPECT_EQ(send().marks(S::kData)[0].tip, "'A-1' is not hexadecimal; sent as 0A");
  EXPECT_EQ(send().marks(S::kData)[0].start, 2u);

  // Marking changes nothing of what is sent.
  send().click(S::kSend);
  ASSERT_EQ(feed_.sentFrames().size(), 1u);
  EXPECT_EQ(feed_.sentFrames()[0], (std::vector<uint8_t>{0x0A}));

  // Text mode sends the characters themselves: nothing to mark.
  send().click(S::kDataIsText);
  EXPECT_TRUE(send().marks(S::kData).empty());
  send().click(S::kDataIsText);
  EXPECT_EQ(send().marks(S::kData).size(), 1u);
  send().edit(S::kData, "01 ff");
  EXPECT_TRUE(send().marks(S::kData).empty());
}

}  // namespace
