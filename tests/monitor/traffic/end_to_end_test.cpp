// talvmon's traffic path end to end: Send Frames and Receive Detail of a
// MonitorApp over the socket backend and a real talvcard.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cardsim/ctl_client.h"
#include "cardsim/fcs.h"
#include "driver_if/socket_driver.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/traffic/frame_format.h"
#include "tests/cardsim/daemon_process.h"
#include "tests/monitor/traffic/pcap_file.h"
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

// What a command printed on its standard output.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// The packets' bytes from tshark's hex dump: 16 bytes a line from column 6,
// a blank line after each packet.
std::vector<std::vector<uint8_t>> DumpedPackets(const std::string& dump) {
  std::vector<std::vector<uint8_t>> packets(1);
  std::istringstream lines(dump);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) {
      if (!packets.back().empty()) packets.emplace_back();
      continue;
    }
    for (size_t at = 6; at + 2 <= line.size() && at < 6 + 16 * 3 && line[at] != ' '; at += 3)
      packets.back().push_back(static_cast<uint8_t>(std::stoi(line.substr(at, 2), nullptr, 16)));
  }
  if (packets.back().empty()) packets.pop_back();
  return packets;
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

// A number after "key=" in the generator's report.
uint64_t ReportField(const std::string& report, const std::string& key) {
  const size_t at = report.find(key + "=");
  EXPECT_NE(at, std::string::npos) << key << " in " << report;
  return at == std::string::npos ? 0 : std::stoull(report.substr(at + key.size() + 1));
}

TEST_F(EndToEndTest, AFloodLosesNoFrameWithoutCountingIt) {
  std::string error;
  auto ctl = cardsim::CtlClient::Connect(dir_.path(), &error);
  ASSERT_TRUE(ctl) << error;
  // Far above what a reader keeps up with, so the card's queue runs over.
  ASSERT_TRUE(ctl->call("gen 0 1000000 6").ok);
  std::this_thread::sleep_for(2s);
  std::string report = ctl->call("gen 0 off").text;
  for (int i = 0; i < 500 && ReportField(report, "queued") != 0; ++i) {
    std::this_thread::sleep_for(10ms);
    report = ctl->call("gen 0").text;
  }
  const uint64_t offered = ReportField(report, "offered");
  waitFor(static_cast<uint32_t>(ReportField(report, "handed_out")));
  host_.command(kMenuPollNow);  // "Lost at card:" is read on the tick

  const uint64_t lost = std::stoull(detail().text(R::kLostAtCard));
  EXPECT_GT(lost, 0u);
  EXPECT_EQ(lost, ReportField(report, "overflowed"));
  EXPECT_EQ(offered, app_->communications().receptionThread()->framesCounted() + lost);
  EXPECT_EQ(detail().text(R::kCounter), std::to_string(offered - lost));
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

TEST_F(EndToEndTest, CapturedTrafficDecodesAsChdlc) {
  if (std::system("command -v tshark >/dev/null 2>&1") != 0) GTEST_SKIP() << "tshark is not installed";
  const std::string received = dir_.path() + "/received.pcap";
  const std::string sent = dir_.path() + "/sent.pcap";
  prompter_.answerPath(received);
  detail().click(R::kCapture);
  prompter_.answerPath(sent);
  send().click(S::kCapture);
  ASSERT_TRUE(detail().isChecked(R::kCapture));
  ASSERT_TRUE(send().isChecked(S::kCapture));

  // Keepalive-sized IPv4 packets behind the unicast address, numbered by their id.
  constexpr int kFrames = 1000;
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 0; i < kFrames; ++i) {
    frames.push_back({0x0F, 0x00, 0x08, 0x00, 0x45, 0x00, 0x00, 0x14, static_cast<uint8_t>(i >> 8),
                      static_cast<uint8_t>(i), 0x00, 0x00, 0x40, 0xFD, 0x00, 0x00, 10, 0, 0, 1, 10, 0, 0, 2});
    std::string hex;
    for (uint8_t b : frames.back()) {
      char byte[4];
      std::snprintf(byte, sizeof byte, "%02X ", b);
      hex += byte;
    }
    sendText(hex);
    // Paced below the card's receive queue, which drops what a busy reader leaves.
    if ((i + 1) % 50 == 0) waitFor(i + 1);
  }
  waitFor(kFrames);
  detail().click(R::kCapture);
  send().click(S::kCapture);
  EXPECT_EQ(prompter_.count(), 0u);

  for (const std::string& file : {received, sent}) {
    const std::string fields =
        Output("tshark -r " + file + " -T fields -e frame.protocols -e frame.len -e ip.id 2>/dev/null");
    std::istringstream lines(fields);
    int n = 0;
    for (std::string line; std::getline(lines, line); ++n) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "\t24\t0x%04x", n);
      EXPECT_EQ(line.substr(0, 5), "chdlc") << file << " packet " << n << ": " << line;
      EXPECT_NE(line.find(expected), std::string::npos) << file << " packet " << n << ": " << line;
    }
    EXPECT_EQ(n, kFrames) << file;
    EXPECT_EQ(DumpedPackets(Output("tshark -r " + file + " -x 2>/dev/null")), frames) << file;
  }
}

}  // namespace
