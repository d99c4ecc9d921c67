// Captures from the in-process simulator into files read back with libpcap.

#include "tools/talvcap/capture_session.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>

#include "cardsim/frame_path.h"
#include "tests/cardsim/frame_fixture.h"
#include "tests/tools/talvcap/pcap_records.h"
#include "tools/talvcap/ring_capture_writer.h"

namespace {

using talvcap::CaptureOptions;
using talvcap::CaptureResult;
using talvcap_test::ReadPcap;

class CaptureSessionTest : public simtest::SimTest {
 protected:
  CaptureSessionTest() {
    char pattern[] = "/tmp/talvcap-test-XXXXXX";
    dir = mkdtemp(pattern);
    control = open();
    simtest::ConfigureAndEnable(*control);
    options.mode = talvcap::Mode::Capture;
    options.device = "TALVSTRM0";
    options.output = dir + "/out.pcap";
  }
  ~CaptureSessionTest() override { std::filesystem::remove_all(dir); }

  // Frames offered on demand: none is lost to a full receive queue.
  void generate(uint64_t count, uint16_t size = 6, uint32_t rate = 0) {
    cardsim::GeneratorSettings s;
    s.count = count;
    s.size = size;
    s.rate = rate;
    ASSERT_TRUE(cardsim::StartGenerator(card(0), s));
  }
  bool commsEnabled() {
    return card(0).withState([](cardsim::CardState& s) { return s.comms_enabled; });
  }
  CaptureResult run(talvcap::CaptureHooks hooks = {}) { return talvcap::RunCapture(driver, options, hooks); }

  std::string dir;
  std::unique_ptr<DeviceHandle> control;
  CaptureOptions options;
};

TEST_F(CaptureSessionTest, FramesWrittenInOrderWithoutOrWithTheirCheckBytes) {
  generate(300);
  options.max_frames = 300;
  CaptureResult result = run();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.captured, 300u);
  EXPECT_EQ(result.dropped, 0u);
  auto file = ReadPcap(options.output);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->link_type, 104);
  ASSERT_EQ(file->records.size(), 300u);
  for (size_t i = 0; i < 300; ++i) {
    ASSERT_EQ(file->records[i].size(), 6u) << i;
    ASSERT_EQ(file->sequence(i), i);
    EXPECT_EQ(file->records[i][5], 0x55);
  }

  generate(5);
  options.max_frames = 5;
  options.keep_check_bytes = true;
  result = run();
  ASSERT_TRUE(result.ok) << result.error;
  file = ReadPcap(options.output);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->records.size(), 5u);
  EXPECT_EQ(file->records[0].size(), 8u);
}

TEST_F(CaptureSessionTest, FilterKeepsExactlyTheFramesItMatches) {
  // Sequence numbers start the frames, so every 256th begins with 0x8F.
  generate(1000);
  options.filter = "link[0] = 0x8f";
  options.max_frames = 4;
  CaptureResult result = run();
  ASSERT_TRUE(result.ok) << result.error;
  auto file = ReadPcap(options.output);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->records.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(file->sequence(i), 0x8F + 256 * i);
}

TEST_F(CaptureSessionTest, NothingStartsOnABadFilterAClosedLineOrAnUnwritableFile) {
  options.filter = "link[0] = = 1";
  CaptureResult result = run();
  EXPECT_FALSE(result.started);
  EXPECT_NE(result.error.find("bad capture filter \"link[0] = = 1\": "), std::string::npos) << result.error;
  EXPECT_FALSE(std::filesystem::exists(options.output));

  options.filter.clear();
  options.output = dir + "/missing/out.pcap";
  result = run();
  EXPECT_FALSE(result.started);
  EXPECT_EQ(result.error, "cannot open " + options.output);

  simtest::Disable(*control);
  options.output = dir + "/out.pcap";
  result = run();
  EXPECT_FALSE(result.started);
  EXPECT_NE(result.error.find("communications are disabled on TALVSTRM0"), std::string::npos) << result.error;
  EXPECT_FALSE(commsEnabled());

  options.device = "TALVSTRM9";
  result = run();
  EXPECT_FALSE(result.started);
  EXPECT_EQ(result.error, "cannot open TALVSTRM9 (error 2)");
}

TEST_F(CaptureSessionTest, CommunicationsSwitchedOffAgainOnlyWhenThisCaptureSwitchedThemOn) {
  simtest::Disable(*control);
  generate(10);
  options.enable_comms = true;
  options.max_frames = 10;
  CaptureResult result = run();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.captured, 10u);
  EXPECT_FALSE(commsEnabled());

  simtest::ConfigureAndEnable(*control);
  generate(10);
  result = run();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(commsEnabled());
}

TEST_F(CaptureSessionTest, StoppedMidCaptureEveryCountedFrameIsInTheFile) {
  generate(0, 6, 5000);
  talvcap::CaptureHooks hooks;
  std::atomic<uint64_t> seen{0};
  hooks.progress = [&](uint64_t written) { seen = written; };
  hooks.stop_requested = [&] { return seen >= 20; };
  CaptureResult result = run(hooks);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_GE(result.captured, 20u);
  auto file = ReadPcap(options.output);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->records.size(), result.captured);
  for (size_t i = 0; i < file->records.size(); ++i) ASSERT_EQ(file->sequence(i), i);
}

TEST_F(CaptureSessionTest, DurationEndsAQuietCaptureWithAnEmptyValidFile) {
  options.duration_s = 1;
  CaptureResult result = run();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.captured, 0u);
  auto file = ReadPcap(options.output);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->records.empty());
}

TEST_F(CaptureSessionTest, LineGoingDownEndsTheCaptureAsAFailureWithItsFramesKept) {
  generate(0, 6, 5000);
  talvcap::CaptureHooks hooks;
  bool disabled = false;
  hooks.progress = [&](uint64_t written) {
    if (written >= 10 && !disabled) simtest::Disable(*control), disabled = true;
  };
  CaptureResult result = run(hooks);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "receiving from TALVSTRM0 failed: communications ended");
  auto file = ReadPcap(options.output);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->records.size(), result.captured);
  EXPECT_GE(result.captured, 10u);
}

TEST_F(CaptureSessionTest, FramesTheCardLostAreReportedAcrossItsCounterWrap) {
  card(0).withState([](cardsim::CardState& s) { s.comms_errors.rx_overrun = 65530; });
  talvcap::CaptureHooks hooks;
  bool lost = false;
  hooks.progress = [&](uint64_t) {
    if (lost) return;
    card(0).withState([](cardsim::CardState& s) { s.comms_errors.rx_overrun += 10; });
    lost = true;
  };
  hooks.stop_requested = [&] { return lost; };
  CaptureResult result = run(hooks);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.card_overruns, 10u);
  EXPECT_EQ(talvcap::CaptureSummary(result),
            "0 frames captured, 0 dropped\n10 frames lost at the card (its receive queue was full)");
  result.card_overruns = 0;
  EXPECT_EQ(talvcap::CaptureSummary(result), "0 frames captured, 0 dropped");
}

TEST_F(CaptureSessionTest, RingKeepsTheNewestFilesEachWholeAndInSequence) {
  // 24-byte file header and 22-byte records: 45 records fit in one kilobyte.
  generate(500);
  options.max_frames = 500;
  options.ring_file_kb = 1;
  options.ring_files = 3;
  CaptureResult result = run();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.captured, 500u);
  const std::string out = options.output;
  EXPECT_FALSE(std::filesystem::exists(talvcap::RingCaptureWriter::FileName(out, 9)));
  std::vector<talvcap_test::PcapContents> kept;
  for (uint32_t n = 10; n <= 12; ++n) {
    const std::string name = talvcap::RingCaptureWriter::FileName(out, n);
    auto file = ReadPcap(name);
    ASSERT_TRUE(file) << name;
    EXPECT_LE(std::filesystem::file_size(name), 1024u);
    kept.push_back(*file);
  }
  EXPECT_FALSE(std::filesystem::exists(talvcap::RingCaptureWriter::FileName(out, 13)));
  EXPECT_EQ(kept[0].records.size(), 45u);
  EXPECT_EQ(kept[0].sequence(0), 9 * 45u);
  EXPECT_EQ(kept[1].sequence(0), 10 * 45u);
  EXPECT_EQ(kept[2].sequence(kept[2].records.size() - 1), 499u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
}

}  // namespace
