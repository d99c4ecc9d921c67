#include "tools/talvcap/capture_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using talvcap::CaptureOptions;
using talvcap::Mode;

std::optional<CaptureOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string ignored;
  return talvcap::ParseCaptureArguments(args, error != nullptr ? error : &ignored);
}

TEST(CaptureOptionsTest, AnalyserQuestionsAndCaptureAsAnalysersAskThem) {
  EXPECT_EQ(Parse({"--extcap-interfaces", "--extcap-version=4.0.17"})->mode, Mode::ListInterfaces);
  EXPECT_EQ(Parse({"--extcap-version"})->mode, Mode::Version);
  EXPECT_EQ(Parse({"--extcap-interface", "TALVSTRM1", "--extcap-dlts"})->mode, Mode::ListLinkTypes);
  EXPECT_EQ(Parse({"--extcap-config", "--extcap-interface=TALVSTRM1"})->mode, Mode::ListConfig);
  auto check = Parse({"--extcap-interface", "TALVSTRM0", "--extcap-capture-filter", "link[0] = 1"});
  ASSERT_TRUE(check);
  EXPECT_EQ(check->mode, Mode::ValidateFilter);
  EXPECT_EQ(check->filter, "link[0] = 1");

  auto o = Parse({"--capture", "--extcap-interface", "TALVSTRM2", "--fifo", "/tmp/f", "--extcap-capture-filter",
                  "link[0] = 0x8f", "--enable-comms", "--check-bytes", "--count", "7", "--debug"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->mode, Mode::ExtcapCapture);
  EXPECT_EQ(o->device, "TALVSTRM2");
  EXPECT_EQ(o->output, "/tmp/f");
  EXPECT_EQ(o->filter, "link[0] = 0x8f");
  EXPECT_TRUE(o->enable_comms);
  EXPECT_TRUE(o->keep_check_bytes);
  EXPECT_EQ(o->max_frames, 7u);
}

TEST(CaptureOptionsTest, StandAloneCapture) {
  auto o = Parse({"-i", "TALVSTRM0", "-w", "out.pcap", "-c", "100", "-a", "duration:30", "-b", "filesize:64", "-b",
                  "files:4", "-f", "link[0] = 0x0f", "-q"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->mode, Mode::Capture);
  EXPECT_EQ(o->output, "out.pcap");
  EXPECT_EQ(o->max_frames, 100u);
  EXPECT_EQ(o->duration_s, 30u);
  EXPECT_EQ(o->ring_file_kb, 64u);
  EXPECT_EQ(o->ring_files, 4u);
  EXPECT_TRUE(o->quiet);
  EXPECT_FALSE(o->enable_comms);
  EXPECT_EQ(Parse({})->mode, Mode::Help);
  EXPECT_EQ(Parse({"-i", "TALVSTRM0", "-w", "-"})->output, "-");
}

TEST(CaptureOptionsTest, RefusedWithTheReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-i"}, "-i needs a value"},
      {{"-w", "x.pcap"}, "no device given (-i DEV)"},
      {{"--capture", "--extcap-interface", "TALVSTRM0"}, "--capture needs --fifo PATH"},
      {{"--capture", "--fifo", "/tmp/f"}, "no device given"},
      {{"-i", "TALVSTRM0", "-c", "ten"}, "bad frame count: ten"},
      {{"-i", "TALVSTRM0", "-c", "-1"}, "bad frame count: -1"},
      {{"-i", "TALVSTRM0", "-a", "duration:0"}, "bad -a (duration:SEC): duration:0"},
      {{"-i", "TALVSTRM0", "-a", "filesize:5"}, "bad -a (duration:SEC): filesize:5"},
      {{"-i", "TALVSTRM0", "-b", "filesize:99999999999999999999"}, "bad -b (filesize:KB or files:N): filesize:99999999999999999999"},
      {{"-i", "TALVSTRM0", "-w", "x", "-b", "files:3"}, "-b files:N needs -b filesize:KB"},
      {{"-i", "TALVSTRM0", "-w", "-", "-b", "filesize:10"}, "-b needs a file named with -w"},
      {{"-i", "TALVSTRM0", "-b", "filesize:10"}, "-b needs a file named with -w"},
      {{"--extcap-interface", "TALVSTRM0"}, "nothing asked of TALVSTRM0"},
      {{"-i", "TALVSTRM0", "--bogus"}, "unknown option --bogus"},
  };
  for (const auto& [args, why] : cases) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << why;
    EXPECT_EQ(error, why);
  }
}

}  // namespace
