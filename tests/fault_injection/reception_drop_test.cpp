// The card's connections dropped while the generator floods the reader:
// the reader ends, Receive Detail keeps what it had with every frame counted
// once, and reception works again on a reopened device.

#include <cstdlib>

#include "monitor/core/menu_ids.h"
#include "tests/fault_injection/monitor_fixture.h"

namespace faults {
namespace {

using R = ReceiveDetailWindow;

// Generated frames start with their sequence number, low byte first; the
// summary line shows the first bytes after a fixed-width head.
constexpr size_t kSummaryHead = 23;

uint32_t SequenceOf(const std::string& line) {
  uint32_t sequence = 0;
  for (int i = 3; i >= 0; --i)
    sequence = (sequence << 8) | static_cast<uint32_t>(std::strtoul(line.substr(kSummaryHead + 3 * i, 2).c_str(), nullptr, 16));
  return sequence;
}

// The list shows the newest frames, each once and in order, the last being
// frame number counted - 1.
void ExpectConsecutiveUpTo(const std::vector<std::string>& lines, uint32_t counted) {
  ASSERT_FALSE(lines.empty());
  ASSERT_LE(lines.size(), kReceiveListLines);
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(SequenceOf(lines[i]), counted - lines.size() + i) << lines[i];
}

uint64_t ReportField(const std::string& report, const std::string& name) {
  size_t at = report.find(name + "=");
  return at == std::string::npos ? ~uint64_t{0} : std::strtoull(report.c_str() + at + name.size() + 1, nullptr, 10);
}

class ReceptionDropTest : public MonitorOverDaemon {
 protected:
  // Drains until the reader has been silent a while: what it left is shown.
  void drainUntilQuiet() {
    ReceiveDetailWindow* detail = app_->communications().receiveDetail();
    ASSERT_NE(detail, nullptr);
    for (int quiet = 0; quiet < 20;) {
      std::this_thread::sleep_for(2ms);
      const std::string before = window("RDETAIL").text(R::kCounter);
      detail->drain();
      quiet = window("RDETAIL").text(R::kCounter) == before ? quiet + 1 : 0;
    }
  }
  ReceptionThread* reader() { return app_->communications().receptionThread(); }
};

TEST_F(ReceptionDropTest, TheReaderEndsCleanlyAndNoFrameIsCountedTwice) {
  connect("TALVSTRM0");
  host_.command(kMenuOpenAll);
  host_.command(kMenuEnableCommunications);
  ASSERT_NE(reader(), nullptr);
  ctl("gen TALVSTRM0 0 64");
  const auto deadline = Clock::now() + 10s;
  while (reader()->framesCounted() < 2000 && Clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
    app_->communications().receiveDetail()->drain();
  }
  ASSERT_GE(reader()->framesCounted(), 2000u);

  ctl("drop TALVSTRM0");
  EXPECT_TRUE(reader()->waitForEnd(2000ms));
  const std::string report = ctl("gen TALVSTRM0 off");
  const uint32_t counted = reader()->framesCounted();
  EXPECT_LE(counted, ReportField(report, "handed_out")) << report;
  drainUntilQuiet();
  const std::vector<std::string> lines = window("RDETAIL").lines(R::kList);
  EXPECT_EQ(window("RDETAIL").text(R::kCounter), std::to_string(counted));
  ExpectConsecutiveUpTo(lines, counted);
  const std::string dump = window("RDETAIL").text(R::kDump);
  EXPECT_FALSE(dump.empty());
  // Nothing more arrives, and what is shown stays.
  for (int i = 0; i < 5; ++i) tickEveryWindow();
  EXPECT_EQ(window("RDETAIL").lines(R::kList), lines);
  EXPECT_EQ(window("RDETAIL").text(R::kDump), dump);
  EXPECT_EQ(reader()->framesCounted(), counted);

  // The connection's handle went too: Disable's commands fail, at once.
  auto start = Clock::now();
  host_.command(kMenuDisableCommunications);
  EXPECT_LT(ElapsedMs(start), Communications::kReceptionPause.count());
  EXPECT_EQ(host_.window("RDETAIL"), nullptr);
  EXPECT_EQ(reader(), nullptr);
  host_.command(kMenuEnableCommunications);
  EXPECT_EQ(window("POLLS").text(PollingInfoWindow::kResult), "0xAA");
  EXPECT_EQ(host_.window("RDETAIL"), nullptr);

  host_.command(kMenuCloseDevice);
  host_.runPosted();
  host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected());
  host_.command(kMenuEnableCommunications);
  ASSERT_NE(host_.window("RDETAIL"), nullptr);
  ctl("gen TALVSTRM0 0 64 300");
  const auto second = Clock::now() + 10s;
  while (reader()->framesCounted() < 300 && Clock::now() < second) std::this_thread::sleep_for(1ms);
  drainUntilQuiet();
  EXPECT_EQ(reader()->framesCounted(), 300u);
  EXPECT_EQ(window("RDETAIL").text(R::kCounter), "300");
  ExpectConsecutiveUpTo(window("RDETAIL").lines(R::kList), 300);
  expectCleanTexts();
}

}  // namespace
}  // namespace faults
