#include "monitor/traffic/pcap_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/pcap_file.h"

namespace {

using namespace std::chrono;

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          ("talvmon-pcap-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

TEST(PcapWriterTest, HeaderIsLittleEndianVersion24ForChdlc) {
  EXPECT_EQ(PcapHeader(), (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1, 0x02, 0x00, 0x04, 0x00,  //
                                                0, 0, 0, 0, 0, 0, 0, 0,                          //
                                                0xFF, 0xFF, 0x00, 0x00, 104, 0x00, 0x00, 0x00}));
}

TEST(PcapWriterTest, RecordsCarryTheirTimeAndBothLengths) {
  std::vector<uint8_t> records;
  const auto time = system_clock::time_point(seconds(0x12345678) + microseconds(999'999));
  AppendPcapRecord(records, time, std::vector<uint8_t>{0x0F, 0x00, 0x08, 0x00, 0x45});
  AppendPcapRecord(records, system_clock::time_point(seconds(1)), {});
  EXPECT_EQ(records, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12, 0x3F, 0x42, 0x0F, 0x00,  //
                                           5, 0, 0, 0, 5, 0, 0, 0,                          //
                                           0x0F, 0x00, 0x08, 0x00, 0x45,                    //
                                           1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PcapWriterTest, EveryWriteReachesTheFileAtOnce) {
  const std::string path = TempPath("live");
  PcapWriter writer;
  ASSERT_EQ(writer.open(path), PcapWriter::Status::Written);
  // Read while still open, as a reader following the file would.
  EXPECT_EQ(ReadPcap(path).header, PcapHeader());
  std::vector<uint8_t> records;
  AppendPcapRecord(records, system_clock::time_point(seconds(7)), std::vector<uint8_t>(300, 0xAB));
  AppendPcapRecord(records, system_clock::time_point(seconds(8)), std::vector<uint8_t>{1});
  ASSERT_EQ(writer.write(records), PcapWriter::Status::Written);
  PcapFile file = ReadPcap(path);
  EXPECT_TRUE(file.whole);
  ASSERT_EQ(file.records.size(), 2u);
  EXPECT_EQ(file.records[0].seconds, 7u);
  EXPECT_EQ(file.records[0].bytes, std::vector<uint8_t>(300, 0xAB));
  EXPECT_EQ(file.records[0].original_length, 300u);
  EXPECT_EQ(file.records[1].bytes, std::vector<uint8_t>{1});

  // Opening again starts an empty capture.
  ASSERT_EQ(writer.open(path), PcapWriter::Status::Written);
  writer.close();
  EXPECT_TRUE(ReadPcap(path).records.empty());
  EXPECT_EQ(writer.write(records), PcapWriter::Status::CannotWrite);
  std::filesystem::remove(path);
}

TEST(PcapWriterTest, FailuresLeaveNothingOpen) {
  PcapWriter writer;
  EXPECT_EQ(writer.open(TempPath("no-such-dir") + "/capture.pcap"), PcapWriter::Status::CannotOpen);
  EXPECT_FALSE(writer.isOpen());
  if (std::filesystem::exists("/dev/full")) {
    // Opens, but the header cannot be written.
    EXPECT_EQ(writer.open("/dev/full"), PcapWriter::Status::CannotWrite);
    EXPECT_FALSE(writer.isOpen());
  }
}

}  // namespace
