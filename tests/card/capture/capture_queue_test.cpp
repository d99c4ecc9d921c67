#include "card/capture/capture_queue.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <thread>

#include "tests/support/pcap_file.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono;
using capture::CaptureQueue;
using capture::WriteStatus;

constexpr auto kLongEnough = seconds(20);

std::vector<uint8_t> Frame(uint32_t n) {
  std::vector<uint8_t> bytes(64, static_cast<uint8_t>(n));
  std::memcpy(bytes.data(), &n, sizeof n);
  return bytes;
}

uint32_t Number(const std::vector<uint8_t>& bytes) {
  uint32_t n = 0;
  std::memcpy(&n, bytes.data(), sizeof n);
  return n;
}

class CaptureQueueTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }
  TempDir dir_;
};

TEST_F(CaptureQueueTest, FinishWritesEveryQueuedFrameInOrder) {
  const std::string path = dir_.path("all.pcap");
  CaptureQueue queue(capture::MakeCaptureWriter(), path);
  for (uint32_t n = 0; n < 5000; ++n) ASSERT_TRUE(queue.push(system_clock::now(), Frame(n)));
  ASSERT_TRUE(queue.finish(kLongEnough));
  EXPECT_EQ(queue.state(), CaptureQueue::State::Finished);
  EXPECT_EQ(queue.written(), 5000u);
  EXPECT_EQ(queue.dropped(), 0u);
  EXPECT_FALSE(queue.push(system_clock::now(), Frame(1)));

  const PcapFile file = ReadPcap(path);
  ASSERT_TRUE(file.whole);
  ASSERT_EQ(file.records.size(), 5000u);
  for (uint32_t n = 0; n < 5000; ++n) ASSERT_EQ(Number(file.records[n].bytes), n);
}

TEST_F(CaptureQueueTest, StalledReaderNeitherBlocksNorGrowsTheQueue) {
  const std::string fifo = dir_.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  constexpr size_t kLimit = 64 * 1024;
  CaptureQueue queue(capture::MakeCaptureWriter(), fifo, kLimit);
  // No reader yet: frames wait in the queue, the excess is dropped.
  EXPECT_EQ(queue.waitOpened(kLongEnough), CaptureQueue::State::WaitingForReader);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  // The reader never reads: the pipe fills, then the queue, then frames are dropped.
  uint32_t accepted = 0;
  for (uint32_t n = 0; n < 20000; ++n) accepted += queue.push(system_clock::now(), Frame(n)) ? 1 : 0;
  EXPECT_GT(queue.dropped(), 0u);
  EXPECT_EQ(queue.dropped() + accepted, 20000u);
  // At most the queue, the batch being written and the pipe: far below 20000 frames.
  EXPECT_LT(accepted, 3 * kLimit / 64);

  // Now it reads everything: the frames accepted all arrive, in order.
  // Read only once the writer has the FIFO open: before, a read finds its end.
  while (queue.state() != CaptureQueue::State::Writing) std::this_thread::sleep_for(milliseconds(1));
  ::fcntl(reader, F_SETFL, 0);
  std::vector<uint8_t> got;
  std::jthread drain([&] {
    uint8_t buffer[65536];
    for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) got.insert(got.end(), buffer, buffer + n);
  });
  ASSERT_TRUE(queue.finish(kLongEnough));
  drain.join();
  ::close(reader);
  EXPECT_EQ(queue.written(), accepted);
  const std::string copy = dir_.path("copy.pcap");
  {
    std::FILE* out = std::fopen(copy.c_str(), "wb");
    std::fwrite(got.data(), 1, got.size(), out);
    std::fclose(out);
  }
  const PcapFile file = ReadPcap(copy);
  EXPECT_TRUE(file.whole);
  ASSERT_EQ(file.records.size(), accepted);
  for (size_t i = 1; i < file.records.size(); ++i)
    ASSERT_LT(Number(file.records[i - 1].bytes), Number(file.records[i].bytes));
}

TEST_F(CaptureQueueTest, ReaderGoingAwayFailsTheCaptureOnly) {
  const std::string fifo = dir_.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  CaptureQueue queue(capture::MakeCaptureWriter(), fifo);
  ASSERT_EQ(queue.waitOpened(kLongEnough), CaptureQueue::State::Writing);
  ::close(reader);
  // Frames go on arriving until the writer finds out.
  for (uint32_t n = 0; queue.state() != CaptureQueue::State::Failed; ++n) {
    queue.push(system_clock::now(), Frame(n));
    std::this_thread::sleep_for(milliseconds(1));
  }
  EXPECT_EQ(queue.failure(), WriteStatus::ReaderGone);
  EXPECT_FALSE(queue.push(system_clock::now(), Frame(0)));
  EXPECT_FALSE(queue.finish(kLongEnough));
}

TEST_F(CaptureQueueTest, FinishingWithoutAReaderGivesUp) {
  const std::string fifo = dir_.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  CaptureQueue queue(capture::MakeCaptureWriter(), fifo);
  queue.push(system_clock::now(), Frame(1));
  EXPECT_FALSE(queue.finish(kLongEnough));
  EXPECT_EQ(queue.state(), CaptureQueue::State::Failed);
  EXPECT_EQ(queue.failure(), WriteStatus::NoReader);
}

TEST_F(CaptureQueueTest, DroppingTheQueueNeverWaitsForAStalledReader) {
  const std::string fifo = dir_.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  {
    CaptureQueue queue(capture::MakeCaptureWriter(), fifo, 1 << 20);
    for (uint32_t n = 0; n < 20000; ++n) queue.push(system_clock::now(), Frame(n));
    EXPECT_FALSE(queue.finish(milliseconds(50)));
  }
  // The abandoned writer ends once its write fails.
  ::close(reader);
}

}  // namespace
