// The simulated card's frame path, in-process.

#include "cardsim/frame_path.h"

#include "card/chdlc_records.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "cardsim/control_commands.h"
#include "cardsim/fcs.h"
#include "cardsim/session.h"
#include "driver_if/wire.h"
#include "tests/cardsim/frame_fixture.h"

namespace {

using namespace std::chrono_literals;
using simtest::ConfigureAndEnable;
using simtest::Execute;
using simtest::Received;
using simtest::Send;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class FramePathTest : public simtest::SimTest {
 protected:
  FramePathTest() : handle(open("TALVSTRM0")) {}
  void SetUp() override { ConfigureAndEnable(*handle, 1500); }

  cardsim::OperationalStats stats() {
    return card(0).withState([](cardsim::CardState& s) { return s.op_stats; });
  }
  // Frames lost for want of a receive buffer, as the card's statistics count them.
  uint32_t lostAtCard() {
    return card::OperationalStatistics::Decode(Execute(*handle, READ_CHDLC_OPERATIONAL_STATS).block.data())
        .rx_discarded_no_buffer;
  }
  uint16_t timesBuffersFull() {
    return le::get_u16(Execute(*handle, READ_COMMS_ERROR_STATS).block.data(), 6);
  }
  uint8_t framesQueued() { return Execute(*handle, READ_CHDLC_LINK_STATUS).block.data()[1]; }
  cardsim::CtlReply ctl(const std::string& line) {
    return cardsim::ControlCommands::Standard().run(simulator, line);
  }
  // A receive on its own handle that must not end before `action` and must end soon after.
  void expectReceiveEndsOn(const char* what, const std::function<void(DeviceHandle&)>& action) {
    auto reader = open("TALVSTRM0");
    std::atomic<bool> done{false};
    bool ok = true;
    std::thread t([&] {
      ok = simtest::Receive(*reader).ok;
      done = true;
    });
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(done) << what;
    auto start = std::chrono::steady_clock::now();
    action(*reader);
    t.join();
    EXPECT_FALSE(ok) << what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << what;
  }

  std::unique_ptr<DeviceHandle> handle;
};

TEST(FcsTest, CheckValueAndAppendedLowByteFirst) {
  EXPECT_EQ(cardsim::Fcs16(Bytes("123456789")), 0x906E);
  std::vector<uint8_t> frame = Bytes("123456789");
  frame.resize(11);
  cardsim::AppendFcs16(frame);
  EXPECT_EQ(frame[9], 0x6E);
  EXPECT_EQ(frame[10], 0x90);
}

TEST_F(FramePathTest, SentFramesComeBackWithCheckBytesBitsAndTimeStamps) {
  ASSERT_EQ(Send(*handle, Bytes("123456789")), 0);
  std::this_thread::sleep_for(25ms);
  ASSERT_EQ(Send(*handle, {}), 0);  // an empty frame is still a frame
  EXPECT_EQ(framesQueued(), 2);

  Received first = simtest::Receive(*handle);
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(first.frame->valid(), 1);
  EXPECT_EQ(first.frame->length(), 11);
  EXPECT_EQ(first.frame->bits(), 0);
  std::vector<uint8_t> expected = Bytes("123456789");
  expected.insert(expected.end(), {0x6E, 0x90});
  EXPECT_EQ(first.bytes(), expected);

  Received second = simtest::Receive(*handle);
  ASSERT_TRUE(second.ok);
  EXPECT_EQ(second.frame->length(), 2);
  uint16_t gap = static_cast<uint16_t>(second.frame->timeStamp() - first.frame->timeStamp());
  EXPECT_GE(gap, 20);
  EXPECT_LT(gap, 1000);
  EXPECT_EQ(framesQueued(), 0);
}

TEST_F(FramePathTest, StatisticsCountBothDirections) {
  for (size_t n : {10, 20, 30}) ASSERT_EQ(Send(*handle, std::vector<uint8_t>(n, 0x7E)), 0);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(simtest::Receive(*handle).ok);
  Execute(*handle, FLUSH_CHDLC_OPERATIONAL_STATS);
  ASSERT_EQ(Send(*handle, std::vector<uint8_t>(100, 1)), 0);
  std::this_thread::sleep_for(1050ms);
  ASSERT_EQ(Send(*handle, std::vector<uint8_t>(100, 2)), 0);

  simtest::Exchange e = Execute(*handle, READ_CHDLC_OPERATIONAL_STATS);
  auto data = e.block.data();
  EXPECT_EQ(le::get_u32(data, 0), 2u);    // frames transmitted
  EXPECT_EQ(le::get_u32(data, 4), 200u);  // bytes transmitted
  EXPECT_EQ(le::get_u32(data, 32), 2u);   // frames received
  EXPECT_EQ(le::get_u32(data, 36), 200u);
  // Bits per second over the window that closed with the second frame.
  uint32_t ms = le::get_u32(data, 12);
  EXPECT_GE(ms, 1000u);
  EXPECT_LT(ms, 2000u);
  EXPECT_EQ(le::get_u32(data, 8), 200u * 8 * 1000 / ms);
  EXPECT_EQ(le::get_u32(data, 44), ms);
}

TEST_F(FramePathTest, RefusedSends) {
  struct Case {
    const char* what;
    std::function<void()> setup;
    std::vector<uint8_t> data;
    int length;
    uint8_t result;
  };
  const Case cases[] = {
      {"longer than max_frame_size", [] {}, std::vector<uint8_t>(1501), -1, cardsim::kSendTooLong},
      {"length beyond the buffer", [] {}, {}, 15355, cardsim::kSendBadLength},
      {"chosen result", [&] { ctl("sendfail 0 0x42 1"); }, {1}, -1, 0x42},
      {"request refused", [&] { ctl("refuse 0 0x22002E 1"); }, {1}, -1, 1},
      {"line down", [&] { simtest::Disable(*handle); }, {1}, -1, cardsim::kSendLineDown},
  };
  for (const auto& c : cases) {
    c.setup();
    EXPECT_EQ(Send(*handle, c.data, c.length), c.result) << c.what;
    EXPECT_EQ(framesQueued(), 0) << c.what;
  }
  auto s = stats();
  EXPECT_EQ(s.tx_frames, 0u);
  EXPECT_EQ(s.tx_discarded_length, 1u);
  EXPECT_EQ(s.rx_frames, 0u);
  // A frame of exactly max_frame_size goes.
  ConfigureAndEnable(*handle, 1500);
  EXPECT_EQ(Send(*handle, std::vector<uint8_t>(1500)), 0);
}

TEST_F(FramePathTest, SendFaultsForSomeOrAllSends) {
  ASSERT_TRUE(ctl("sendfail TALVSTRM0 9 2").ok);
  EXPECT_EQ(Send(*handle, {1}), 9);
  EXPECT_EQ(Send(*handle, {1}), 9);
  EXPECT_EQ(Send(*handle, {1}), 0);
  ASSERT_TRUE(ctl("sendfail 0 0x10").ok);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Send(*handle, {1}), 0x10);
  ASSERT_TRUE(ctl("sendfail 0 off").ok);
  EXPECT_EQ(Send(*handle, {1}), 0);
  for (const char* bad : {"sendfail 0", "sendfail 0 0", "sendfail 0 256", "sendfail 0 1 0", "sendfail 9 1"})
    EXPECT_FALSE(ctl(bad).ok) << bad;
}

TEST_F(FramePathTest, BlockingReceiveEnds) {
  expectReceiveEndsOn("disable on another handle", [&](DeviceHandle&) { simtest::Disable(*handle); });
  ConfigureAndEnable(*handle);
  expectReceiveEndsOn("cancel", [](DeviceHandle& reader) { reader.cancel(); });
  expectReceiveEndsOn("dropped connections", [&](DeviceHandle&) { card(0).dropConnections(); });
}

TEST_F(FramePathTest, ReceiveWaitsForAFrameAndFailsAtOnceWhenTheLineIsDown) {
  auto reader = open("TALVSTRM0");
  Received got;
  std::thread t([&] { got = simtest::Receive(*reader); });
  std::this_thread::sleep_for(30ms);
  ASSERT_EQ(Send(*handle, {0xAB}), 0);
  t.join();
  ASSERT_TRUE(got.ok);
  EXPECT_EQ(got.bytes()[0], 0xAB);
  simtest::Disable(*handle);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(simtest::Receive(*reader).ok);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
}

TEST_F(FramePathTest, DisableFlushesTheQueue) {
  ASSERT_EQ(Send(*handle, {1}), 0);
  ASSERT_EQ(Send(*handle, {2}), 0);
  simtest::Disable(*handle);
  ASSERT_EQ(Execute(*handle, ENABLE_CHDLC_COMMUNICATIONS).block.returnCode(), RC_OK);
  EXPECT_EQ(framesQueued(), 0);
  ASSERT_EQ(Send(*handle, {3}), 0);
  EXPECT_EQ(simtest::Receive(*handle).bytes()[0], 3);
}

TEST_F(FramePathTest, AFullQueueCountsEveryFrameItLosesAndEachTimeItFills) {
  for (size_t i = 0; i < cardsim::kReceiveQueueFrames + 5; ++i)
    ASSERT_EQ(Send(*handle, {static_cast<uint8_t>(i)}), 0);
  EXPECT_EQ(framesQueued(), cardsim::kReceiveQueueFrames);
  EXPECT_EQ(lostAtCard(), 5u);
  EXPECT_EQ(timesBuffersFull(), 1);
  EXPECT_EQ(le::get_u16(Execute(*handle, READ_COMMS_ERROR_STATS).block.data(), 0), 0);  // no overrun
  EXPECT_EQ(stats().rx_frames, cardsim::kReceiveQueueFrames);
  EXPECT_EQ(simtest::Receive(*handle).bytes()[0], 0);  // the oldest stay, the newest go
  // Room again, then full again: a second spell.
  ASSERT_EQ(Send(*handle, {1}), 0);
  ASSERT_EQ(Send(*handle, {2}), 0);
  EXPECT_EQ(lostAtCard(), 6u);
  EXPECT_EQ(timesBuffersFull(), 2);
}

TEST_F(FramePathTest, GeneratorAsFastAsTakenOffersItsCountInSequence) {
  ASSERT_TRUE(ctl("gen 0 0 6 50 0xA5").ok);
  for (uint32_t i = 0; i < 50; ++i) {
    Received r = simtest::Receive(*handle);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.frame->length(), 8);
    EXPECT_EQ(r.sequence(), i);
    auto bytes = r.bytes();
    EXPECT_EQ(bytes[4], 0xA5);
    EXPECT_EQ(bytes[5], 0xA5);
    uint16_t fcs = cardsim::Fcs16(std::span(bytes).first(6));
    EXPECT_EQ(le::get_u16(bytes, 6), fcs);
  }
  EXPECT_EQ(lostAtCard(), 0u);
  EXPECT_EQ(ctl("gen 0").text,
            "on rate=0 size=6 pattern=0xA5 count=50 offered=50 handed_out=50 queued=0 overflowed=0");
  // Spent: a receive waits again, until the line goes down.
  expectReceiveEndsOn("disable after the count", [&](DeviceHandle&) { simtest::Disable(*handle); });
}

TEST_F(FramePathTest, PacedGeneratorKeepsItsRateAndOverrunsAQueueNobodyReads) {
  ASSERT_TRUE(ctl("gen 0 1000 4 20").ok);
  auto start = std::chrono::steady_clock::now();
  uint16_t first_stamp = 0;
  for (uint32_t i = 0; i < 20; ++i) {
    Received r = simtest::Receive(*handle);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.sequence(), i);
    if (i == 0) first_stamp = r.frame->timeStamp();
    if (i == 19) {
      EXPECT_GE(static_cast<uint16_t>(r.frame->timeStamp() - first_stamp), 18);
    }
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, 18ms);

  ASSERT_TRUE(ctl("gen 0 100000 6").ok);
  std::this_thread::sleep_for(20ms);
  const std::string report = ctl("gen 0").text;
  EXPECT_NE(report.find("queued=100"), std::string::npos);
  EXPECT_GT(lostAtCard(), 0u);
  // Every frame offered is queued, handed out or counted lost.
  EXPECT_NE(report.find("overflowed=" + std::to_string(lostAtCard())), std::string::npos) << report;
  for (uint32_t i = 0; i < cardsim::kReceiveQueueFrames; ++i)
    EXPECT_EQ(simtest::Receive(*handle).sequence(), i);
}

TEST_F(FramePathTest, GivenBackFramesGoFirstUnlessFlushedSince) {
  for (uint8_t i = 1; i <= 3; ++i) ASSERT_EQ(Send(*handle, {i}), 0);
  ASSERT_TRUE(ctl("gen 0 0 6 1").ok);
  std::vector<std::vector<uint8_t>> taken;
  for (int i = 0; i < 4; ++i) {
    Received r = simtest::Receive(*handle);
    taken.emplace_back(r.frame->bytes().begin(), r.frame->bytes().begin() + 16 + r.frame->length());
  }
  EXPECT_NE(ctl("gen 0").text.find("handed_out=1"), std::string::npos);
  ASSERT_EQ(Send(*handle, {4}), 0);
  cardsim::GiveBackFrames(card(0), std::span(taken).subspan(1));  // frames 2, 3 and the generated one
  EXPECT_NE(ctl("gen 0").text.find("handed_out=0 queued=4"), std::string::npos);
  EXPECT_EQ(simtest::Receive(*handle).bytes()[0], 2);
  EXPECT_EQ(simtest::Receive(*handle).bytes()[0], 3);
  EXPECT_EQ(simtest::Receive(*handle).sequence(), 0u);
  EXPECT_EQ(simtest::Receive(*handle).bytes()[0], 4);

  simtest::Disable(*handle);
  ConfigureAndEnable(*handle);
  cardsim::GiveBackFrames(card(0), taken);
  EXPECT_EQ(framesQueued(), 0);
}

struct Batch {
  bool ok = false;
  std::vector<std::vector<uint8_t>> images;
};

constexpr uint32_t kNoLimit = 0xFFFFFFFF;

Batch ReceiveBatch(DeviceHandle& h, uint32_t image_len, size_t out_len = wire::kMaxLength,
                   uint32_t wait_ms = kNoLimit, size_t in_len = wire::kReceiveFramesInSize) {
  std::array<uint8_t, wire::kReceiveFramesInSize> in{};
  le::put_u32(in, 0, image_len);
  le::put_u32(in, 4, wait_ms);
  std::vector<uint8_t> out(out_len);
  uint32_t returned = 0;
  Batch b;
  b.ok = h.control(wire::kReceiveFrames, in.data(), in_len, out.data(), out.size(), &returned);
  if (!b.ok) return b;
  auto frames = wire::SplitFrames(std::span(out).first(returned));
  EXPECT_TRUE(frames);
  for (auto f : frames.value_or(std::vector<std::span<const uint8_t>>{})) b.images.emplace_back(f.begin(), f.end());
  return b;
}

TEST_F(FramePathTest, ABatchTakesWhatIsQueuedInOrderAndWithinItsReply) {
  for (uint8_t i = 1; i <= 3; ++i) ASSERT_EQ(Send(*handle, {i, 0x55}), 0);
  Batch b = ReceiveBatch(*handle, ReceivedFrame::kSize);
  ASSERT_TRUE(b.ok);
  ASSERT_EQ(b.images.size(), 3u);
  for (uint8_t i = 0; i < 3; ++i) {
    ASSERT_EQ(b.images[i].size(), ReceivedFrame::kDataOffset + 4u);
    EXPECT_EQ(b.images[i][0], 1);                              // valid
    EXPECT_EQ(le::get_u16(b.images[i], 1), 4);                 // with its check bytes
    EXPECT_EQ(b.images[i][ReceivedFrame::kDataOffset], i + 1);
  }
  EXPECT_EQ(framesQueued(), 0);

  // Each image is cut to what the reader keeps; the length still tells the frame's.
  ASSERT_EQ(Send(*handle, {9, 8, 7}), 0);
  b = ReceiveBatch(*handle, ReceivedFrame::kDataOffset + 1, 100);
  ASSERT_EQ(b.images.size(), 1u);
  EXPECT_EQ(b.images[0].size(), ReceivedFrame::kDataOffset + 1u);
  EXPECT_EQ(le::get_u16(b.images[0], 1), 5);

  // A frame that does not fit the reply waits for the next one.
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Send(*handle, std::vector<uint8_t>(1400, static_cast<uint8_t>(i))), 0);
  EXPECT_EQ(ReceiveBatch(*handle, 1500, 3000).images.size(), 2u);
  b = ReceiveBatch(*handle, 1500, 3000);
  ASSERT_EQ(b.images.size(), 1u);
  EXPECT_EQ(b.images[0][ReceivedFrame::kDataOffset], 2);

  EXPECT_FALSE(ReceiveBatch(*handle, ReceivedFrame::kSize, wire::kMaxLength, kNoLimit, 4).ok);
  EXPECT_FALSE(ReceiveBatch(*handle, ReceivedFrame::kDataOffset - 1).ok);
  EXPECT_FALSE(ReceiveBatch(*handle, 100, 103).ok);
}

TEST_F(FramePathTest, ABatchWaitsForItsFirstFrameAndFailsWhenTheLineGoesDown) {
  auto reader = open("TALVSTRM0");
  for (bool line_goes_down : {false, true}) {
    std::atomic<bool> done{false};
    Batch b;
    std::thread t([&] {
      b = ReceiveBatch(*reader, ReceivedFrame::kSize);
      done = true;
    });
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(done);
    // A lone frame is answered after a short wait for company, not at the end of a long one.
    if (line_goes_down)
      simtest::Disable(*handle);
    else
      ASSERT_EQ(Send(*handle, {7}), 0);
    t.join();
    EXPECT_EQ(b.ok, !line_goes_down);
    EXPECT_EQ(b.images.size(), line_goes_down ? 0u : 1u);
  }
  // Its wait can be bounded: then nothing received is a success with no frame.
  ASSERT_EQ(Execute(*handle, ENABLE_CHDLC_COMMUNICATIONS).block.returnCode(), RC_OK);
  Batch b = ReceiveBatch(*reader, ReceivedFrame::kSize, wire::kMaxLength, 10);
  EXPECT_TRUE(b.ok);
  EXPECT_TRUE(b.images.empty());
}

TEST_F(FramePathTest, APacedGeneratorIsAnsweredOnceFramesGatherWithoutLosingAny) {
  // Slow enough that the queue outlasts this thread between two requests,
  // however slow the build: it keeps no request waiting meanwhile.
  ASSERT_TRUE(ctl("gen 0 2000 6").ok);
  uint32_t next = 0;
  for (int round = 0; round < 3; ++round) {
    Batch b = ReceiveBatch(*handle, ReceivedFrame::kSize);
    ASSERT_TRUE(b.ok);
    // The card answers once frames have waited kBatchDelay (ten at this rate), or later when this thread is late.
    EXPECT_GE(b.images.size(), 8u);
    for (const auto& image : b.images) {
      ReceivedFrame frame;
      std::copy(image.begin(), image.end(), frame.bytes().begin());
      EXPECT_EQ(le::get_u32(frame.data(), 0), next++);
    }
  }
}

// The card may be late to queue what came off the line (its own thread not
// scheduled); frames that came while a reader was waiting for them are that
// reader's and never overrun the queue.
TEST_F(FramePathTest, FramesForAWaitingReaderSurviveACardLateToQueueThem) {
  auto reader = open("TALVSTRM0");
  Batch b;
  std::thread t([&] { b = ReceiveBatch(*reader, ReceivedFrame::kSize); });
  auto waiting = [&] { return card(0).withState([](cardsim::CardState& s) { return s.frame_path.waiting_readers.size(); }); };
  while (waiting() == 0) std::this_thread::sleep_for(1ms);
  ASSERT_TRUE(ctl("gen 0 10000 6").ok);
  // Twice the queue's worth comes due while the card is busy elsewhere.
  card(0).withState([](cardsim::CardState&) { std::this_thread::sleep_for(20ms); });
  const std::string report = ctl("gen 0").text;  // queues what came due, if the reader has not
  ASSERT_TRUE(ctl("gen 0 off").ok);
  t.join();
  ASSERT_TRUE(b.ok);
  EXPECT_NE(report.find("overflowed=0"), std::string::npos) << report;
  EXPECT_EQ(lostAtCard(), 0u);
  EXPECT_GT(b.images.size(), cardsim::kReceiveQueueFrames);
  EXPECT_LE(framesQueued(), cardsim::kReceiveQueueFrames);
}

// Requests the driver already held when the one before them was answered
// have been waiting since; frames that came meanwhile are theirs, as far as
// they have room, however late the simulator takes them up. A request that
// came only now finds the queue as it is.
TEST_F(FramePathTest, QueuedRequestsTakeWhatCameWhileTheyWaitedForTheirTurn) {
  struct Case {
    size_t queued;
    int rate;  // frames/s for 20 ms: two, then four queues' worth
    bool lost;
  };
  for (const Case& c : {Case{0, 10000, true}, Case{1, 10000, false}, Case{1, 20000, true}, Case{3, 20000, false}}) {
    SCOPED_TRACE(testing::Message() << c.queued << " queued at " << c.rate);
    ASSERT_TRUE(ctl("gen 0 " + std::to_string(c.rate) + " 6").ok);
    ASSERT_TRUE(ctl("gen 0").ok);  // the schedule starts now
    std::this_thread::sleep_for(20ms);
    cardsim::Session session(card(0));
    session.setQueued(c.queued);
    std::array<uint8_t, wire::kReceiveFramesInSize> in{};
    le::put_u32(in, 0, ReceivedFrame::kSize);
    le::put_u32(in, 4, kNoLimit);
    std::vector<uint8_t> out(wire::kMaxLength);
    uint32_t returned = 0;
    ASSERT_TRUE(card(0).control(session, wire::kReceiveFrames, in, out, &returned));
    EXPECT_GT(returned, 0u);
    const std::string report = ctl("gen 0 off").text;
    const uint64_t overflowed = std::stoull(report.substr(report.find("overflowed=") + 11));
    EXPECT_EQ(overflowed > 0, c.lost) << report;
    simtest::Disable(*handle);
    ConfigureAndEnable(*handle, 1500);
  }
}

TEST_F(FramePathTest, GeneratorCommands) {
  EXPECT_EQ(ctl("gen TALVSTRM0").text,
            "off rate=0 size=6 pattern=0x55 count=0 offered=0 handed_out=0 queued=0 overflowed=0");
  for (const char* bad : {"gen", "gen 9 0 6", "gen 0 0", "gen 0 1000001 6", "gen 0 0 13983",
                          "gen 0 0 6 1 256", "gen 0 x 6", "gen 0 0 6 1 2 3"})
    EXPECT_FALSE(ctl(bad).ok) << bad;
  ASSERT_TRUE(ctl("gen 0 0 13982 1").ok);
  Received r = simtest::Receive(*handle);
  EXPECT_EQ(r.frame->length(), ReceivedFrame::kMaxData);
  ASSERT_TRUE(ctl("gen 0 0 6").ok);
  ASSERT_TRUE(simtest::Receive(*handle).ok);
  EXPECT_EQ(ctl("gen 0 off").text.substr(0, 4), "off ");
}

}  // namespace
