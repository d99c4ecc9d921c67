#include "driver_if/wire.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <thread>
#include <vector>

namespace {

TEST(WireTest, RequestHeaderIsThreeLittleEndianWords) {
  std::array<uint8_t, wire::kRequestHeaderSize> b;
  wire::EncodeRequestHeader({0x220028, 16, 1016}, b);
  const std::array<uint8_t, 12> expected = {0x28, 0x00, 0x22, 0x00, 16, 0, 0, 0, 0xF8, 0x03, 0, 0};
  EXPECT_EQ(b, expected);
  auto back = wire::DecodeRequestHeader(b);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->code, 0x220028u);
  EXPECT_EQ(back->in_len, 16u);
  EXPECT_EQ(back->out_len, 1016u);
}

TEST(WireTest, RequestLengthsAboveTheLimitAreRefused) {
  struct Case {
    uint32_t in_len, out_len;
    bool accepted;
  };
  const Case cases[] = {{16384, 16384, true}, {16385, 0, false}, {0, 16385, false},
                        {0xFFFFFFFF, 0, false}, {0, 0, true}};
  for (const auto& c : cases) {
    std::array<uint8_t, wire::kRequestHeaderSize> b;
    wire::EncodeRequestHeader({1, c.in_len, c.out_len}, b);
    EXPECT_EQ(wire::DecodeRequestHeader(b).has_value(), c.accepted) << c.in_len << " " << c.out_len;
  }
}

TEST(WireTest, ReplyHeaderChecks) {
  struct Case {
    uint8_t ok;
    uint32_t returned, out_len;
    bool accepted;
  };
  const Case cases[] = {
      {1, 19, 1016, true},  {1, 1016, 1016, true}, {1, 1017, 1016, false}, {0, 0, 1016, true},
      {0, 1, 1016, false},  {2, 0, 1016, false},   {0xFF, 0, 16, false},    {1, 0, 0, true},
  };
  for (const auto& c : cases) {
    std::array<uint8_t, wire::kReplyHeaderSize> b = {c.ok};
    b[1] = static_cast<uint8_t>(c.returned);
    b[2] = static_cast<uint8_t>(c.returned >> 8);
    auto h = wire::DecodeReplyHeader(b, c.out_len);
    EXPECT_EQ(h.has_value(), c.accepted) << int(c.ok) << " " << c.returned;
    if (h) {
      EXPECT_EQ(h->ok, c.ok == 1);
      EXPECT_EQ(h->returned, c.returned);
    }
  }
  std::array<uint8_t, wire::kReplyHeaderSize> b;
  wire::EncodeReplyHeader({true, 0x01020304}, b);
  EXPECT_EQ(b, (std::array<uint8_t, 5>{1, 4, 3, 2, 1}));
}

TEST(WireTest, FramesOfABatchSplitOnlyWhenTheirLengthsAddUp) {
  const std::vector<uint8_t> two = {2, 0, 0, 0, 0xA1, 0xA2, 0, 0, 0, 0, 1, 0, 0, 0, 0xB1};
  auto frames = wire::SplitFrames(two);
  ASSERT_TRUE(frames);
  ASSERT_EQ(frames->size(), 3u);
  EXPECT_EQ(std::vector<uint8_t>((*frames)[0].begin(), (*frames)[0].end()), (std::vector<uint8_t>{0xA1, 0xA2}));
  EXPECT_TRUE((*frames)[1].empty());
  EXPECT_EQ(std::vector<uint8_t>((*frames)[2].begin(), (*frames)[2].end()), (std::vector<uint8_t>{0xB1}));
  EXPECT_TRUE(wire::SplitFrames({})->empty());
  for (size_t cut = 1; cut < two.size(); ++cut) {
    if (cut == 6 || cut == 10) continue;  // ends between frames
    EXPECT_FALSE(wire::SplitFrames(std::span(two).first(cut))) << cut;
  }
  const std::vector<uint8_t> huge = {0xFF, 0xFF, 0xFF, 0xFF, 1};
  EXPECT_FALSE(wire::SplitFrames(huge));
}

class WireStreamTest : public ::testing::Test {
 protected:
  WireStreamTest() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
  ~WireStreamTest() override {
    for (int fd : fds)
      if (fd >= 0) close(fd);
  }
  void closeWriter() {
    close(fds[0]);
    fds[0] = -1;
  }
  int fds[2] = {-1, -1};
};

TEST_F(WireStreamTest, MessagesSentTogetherAreReadOneByOne) {
  const std::vector<uint8_t> a = {1, 2, 3}, b = {4, 5}, c = {6, 7, 8, 9};
  const std::span<const uint8_t> pieces[] = {a, {}, b, c};
  ASSERT_TRUE(wire::SendAll(fds[0], pieces));
  wire::Reader reader(fds[1]);
  std::array<uint8_t, 4> first;
  std::array<uint8_t, 5> second;
  ASSERT_EQ(reader.readExact(first), wire::Reader::Status::kOk);
  ASSERT_EQ(reader.readExact(second), wire::Reader::Status::kOk);
  EXPECT_EQ(first, (std::array<uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(second, (std::array<uint8_t, 5>{5, 6, 7, 8, 9}));
  closeWriter();
  EXPECT_EQ(reader.readExact(first), wire::Reader::Status::kEnd);
}

TEST_F(WireStreamTest, StreamEndingInsideAMessageFails) {
  const std::vector<uint8_t> a = {1, 2, 3};
  const std::span<const uint8_t> pieces[] = {a};
  ASSERT_TRUE(wire::SendAll(fds[0], pieces));
  closeWriter();
  wire::Reader reader(fds[1]);
  std::array<uint8_t, 4> out;
  EXPECT_EQ(reader.readExact(out), wire::Reader::Status::kFailed);
}

TEST_F(WireStreamTest, LargeMessagesCrossTheBuffer) {
  std::vector<uint8_t> big(200000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
  std::thread writer([&] {
    const std::span<const uint8_t> pieces[] = {big};
    EXPECT_TRUE(wire::SendAll(fds[0], pieces));
  });
  wire::Reader reader(fds[1]);
  std::vector<uint8_t> got(big.size());
  EXPECT_EQ(reader.readExact(got), wire::Reader::Status::kOk);
  writer.join();
  EXPECT_EQ(got, big);
}

TEST_F(WireStreamTest, SendingToAClosedPeerFailsWithoutSignal) {
  close(fds[1]);
  fds[1] = -1;
  const std::vector<uint8_t> a(100, 1);
  const std::span<const uint8_t> pieces[] = {a};
  EXPECT_FALSE(wire::SendAll(fds[0], pieces));
}

TEST_F(WireStreamTest, PeerUidIsOurs) {
  EXPECT_EQ(wire::PeerUid(fds[0]), static_cast<long>(geteuid()));
  EXPECT_EQ(wire::PeerUid(-1), -1);
}

}  // namespace
