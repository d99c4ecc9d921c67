#include "card/capture/capture_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pcap/pcap.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "card/capture/bpf_filter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/pcap_file.h"

namespace {

using namespace std::chrono;
using capture::WriteStatus;

const std::vector<uint8_t> kIpFrame{0x0F, 0x00, 0x08, 0x00, 0x45, 0x00};
const std::vector<uint8_t> kKeepalive{0x8F, 0x00, 0x80, 0x35, 0x00, 0x00, 0x00, 0x02};

struct WriterKind {
  const char* name;
  std::unique_ptr<capture::CaptureWriter> (*make)();
};

void PrintTo(const WriterKind& kind, std::ostream* out) { *out << kind.name; }

class CaptureWriterTest : public ::testing::TestWithParam<WriterKind> {
 protected:
  static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }
  TempDir dir_;
};

TEST_P(CaptureWriterTest, WritesChdlcRecordsWithTimeAndLengths) {
  const std::string path = dir_.path("out.pcap");
  auto writer = GetParam().make();
  ASSERT_EQ(writer->open(path), WriteStatus::Written);
  // Read while still open, as a reader following the file would.
  EXPECT_EQ(ReadPcap(path).header,
            (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1, 0x02, 0x00, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                  0xFF, 0xFF, 0x00, 0x00, 104, 0x00, 0x00, 0x00}));
  const auto time = system_clock::time_point(seconds(0x12345678) + microseconds(999'999));
  ASSERT_EQ(writer->write(time, kIpFrame), WriteStatus::Written);
  ASSERT_EQ(writer->write(system_clock::time_point(seconds(1)), {}), WriteStatus::Written);
  ASSERT_EQ(writer->write(time, std::vector<uint8_t>(3000, 0xAB)), WriteStatus::Written);
  ASSERT_EQ(writer->flush(), WriteStatus::Written);

  const PcapFile file = ReadPcap(path);
  EXPECT_TRUE(file.whole);
  ASSERT_EQ(file.records.size(), 3u);
  EXPECT_EQ(file.records[0].seconds, 0x12345678u);
  EXPECT_EQ(file.records[0].microseconds, 999'999u);
  EXPECT_EQ(file.records[0].bytes, kIpFrame);
  EXPECT_EQ(file.records[0].original_length, kIpFrame.size());
  EXPECT_TRUE(file.records[1].bytes.empty());
  EXPECT_EQ(file.records[2].bytes.size(), 3000u);

  // Opening again starts an empty capture.
  ASSERT_EQ(writer->open(path), WriteStatus::Written);
  writer->close();
  EXPECT_TRUE(ReadPcap(path).records.empty());
  EXPECT_EQ(writer->write(time, kIpFrame), WriteStatus::CannotWrite);
}

TEST_P(CaptureWriterTest, LibpcapReadsTheFile) {
  const std::string path = dir_.path("read.pcap");
  auto writer = GetParam().make();
  ASSERT_EQ(writer->open(path), WriteStatus::Written);
  ASSERT_EQ(writer->write(system_clock::time_point(seconds(5)), kKeepalive), WriteStatus::Written);
  writer->close();

  char error[PCAP_ERRBUF_SIZE];
  pcap_t* in = pcap_open_offline(path.c_str(), error);
  ASSERT_NE(in, nullptr) << error;
  EXPECT_EQ(pcap_datalink(in), DLT_C_HDLC);
  pcap_pkthdr* header = nullptr;
  const u_char* data = nullptr;
  ASSERT_EQ(pcap_next_ex(in, &header, &data), 1);
  EXPECT_EQ(header->ts.tv_sec, 5);
  EXPECT_EQ(std::vector<uint8_t>(data, data + header->caplen), kKeepalive);
  EXPECT_EQ(pcap_next_ex(in, &header, &data), PCAP_ERROR_BREAK);
  pcap_close(in);
}

TEST_P(CaptureWriterTest, FailuresAreToldApartAndLeaveNothingOpen) {
  auto writer = GetParam().make();
  EXPECT_EQ(writer->open(dir_.path("no-such-dir/x.pcap")), WriteStatus::CannotOpen);
  EXPECT_FALSE(writer->isOpen());
  if (std::filesystem::exists("/dev/full")) {
    // Opens, but the header cannot be written.
    EXPECT_EQ(writer->open("/dev/full"), WriteStatus::CannotWrite);
    EXPECT_FALSE(writer->isOpen());
  }
}

TEST_P(CaptureWriterTest, FifoWithoutReaderDoesNotBlockAndOpensOnceOneComes) {
  const std::string fifo = dir_.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto writer = GetParam().make();
  EXPECT_EQ(writer->open(fifo), WriteStatus::NoReader);
  EXPECT_FALSE(writer->isOpen());

  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_EQ(writer->open(fifo), WriteStatus::Written);
  ASSERT_EQ(writer->write(system_clock::time_point(seconds(1)), kIpFrame), WriteStatus::Written);
  ASSERT_EQ(writer->flush(), WriteStatus::Written);
  std::vector<uint8_t> got(100);
  EXPECT_EQ(::read(reader, got.data(), got.size()), static_cast<ssize_t>(24 + 16 + kIpFrame.size()));

  // The reader goes away: the writer says so and closes, the process lives on.
  ::close(reader);
  WriteStatus status = writer->write(system_clock::time_point(seconds(2)), kIpFrame);
  if (status == WriteStatus::Written) status = writer->flush();
  EXPECT_EQ(status, WriteStatus::ReaderGone);
  EXPECT_FALSE(writer->isOpen());
}

INSTANTIATE_TEST_SUITE_P(Both, CaptureWriterTest,
                         ::testing::Values(WriterKind{"libpcap", capture::MakeCaptureWriter},
                                           WriterKind{"plain", capture::MakePlainCaptureWriter}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BpfFilterTest, SelectsByProtocolAndExplainsBadExpressions) {
  capture::BpfFilter filter;
  EXPECT_TRUE(filter.matches(kKeepalive));
  ASSERT_EQ(filter.compile("ip"), "");
  EXPECT_TRUE(filter.matches(kIpFrame));
  EXPECT_FALSE(filter.matches(kKeepalive));

  EXPECT_NE(filter.compile("ip and and"), "");
  // A bad expression keeps the filter that was there.
  EXPECT_FALSE(filter.matches(kKeepalive));
}

}  // namespace
