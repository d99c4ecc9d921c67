// The card records against byte images written out by hand from the
// firmware's reply layouts, independent of the offsets in the code.

#include <gtest/gtest.h>

#include <vector>

#include "card/chdlc_records.h"
#include "card/front_end_records.h"

namespace {

// Little-endian value v at byte offset off of a zeroed image of n bytes.
std::vector<uint8_t> Image(size_t n, std::initializer_list<std::pair<size_t, uint32_t>> fields, size_t width) {
  std::vector<uint8_t> b(n);
  for (auto [off, v] : fields)
    for (size_t i = 0; i < width; ++i) b[off + i] = static_cast<uint8_t>(v >> (8 * i));
  return b;
}

TEST(CardRecordsTest, OperationalStatisticsAreFullCountersAtTheirOffsets) {
  const auto image = Image(56, {{0, 0x01000001}, {4, 0xFFFFFFFF}, {8, 3}, {12, 4}, {16, 5}, {32, 6}, {36, 65537},
                                {40, 8}, {44, 9}, {48, 11}, {52, 10}},
                           4);
  const card::OperationalStatistics s = card::OperationalStatistics::Decode(image);
  EXPECT_EQ(s.frames_transmitted, 0x01000001u);
  EXPECT_EQ(s.bytes_transmitted, 0xFFFFFFFFu);
  EXPECT_EQ(s.transmit_throughput, 3u);
  EXPECT_EQ(s.transmit_throughput_ms, 4u);
  EXPECT_EQ(s.tx_discarded_length, 5u);
  EXPECT_EQ(s.frames_received, 6u);
  EXPECT_EQ(s.bytes_received, 65537u);
  EXPECT_EQ(s.receive_throughput, 8u);
  EXPECT_EQ(s.receive_throughput_ms, 9u);
  EXPECT_EQ(s.rx_discarded_length, 10u);
  EXPECT_EQ(s.rx_discarded_no_buffer, 11u);
  std::vector<uint8_t> again(56);
  s.Encode(again);
  EXPECT_EQ(again, image);
}

TEST(CardRecordsTest, CommunicationErrorsAreSixteenBitCountersWithGaps) {
  const auto image = Image(20, {{0, 1}, {2, 2}, {4, 3}, {6, 4}, {12, 5}, {16, 6}, {18, 0xFFFF}}, 2);
  const card::CommErrorStatistics s = card::CommErrorStatistics::Decode(image);
  EXPECT_EQ(s.receiver_overrun, 1);
  EXPECT_EQ(s.receiver_crc, 2);
  EXPECT_EQ(s.abort_frames, 3);
  EXPECT_EQ(s.receiver_disabled_buffers_full, 4);
  EXPECT_EQ(s.missed_tx_underrun_interrupts, 5);
  EXPECT_EQ(s.dcd_dropped, 6);
  EXPECT_EQ(s.cts_dropped, 0xFFFF);
  std::vector<uint8_t> again(20);
  s.Encode(again);
  EXPECT_EQ(again, image);
}

TEST(CardRecordsTest, LinkModemAndTheSmallRecords) {
  const uint8_t link[] = {2, 7, 1};
  const card::LinkStatus l = card::LinkStatus::Decode(link);
  EXPECT_FALSE(l.active());
  EXPECT_EQ(l.channel_status, 2);
  EXPECT_EQ(l.frames_queued, 7);
  EXPECT_FALSE(l.receiverEnabled());

  const uint8_t both[] = {0x28};
  EXPECT_TRUE(card::ModemStatus::Decode(both).dcd());
  EXPECT_TRUE(card::ModemStatus::Decode(both).cts());
  const uint8_t none[] = {0xD7};
  EXPECT_FALSE(card::ModemStatus::Decode(none).dcd());
  EXPECT_FALSE(card::ModemStatus::Decode(none).cts());

  const uint8_t irq[] = {0x34, 0x12};
  EXPECT_EQ(card::GlobalStatistics::Decode(irq).irq_timeouts, 0x1234);
}

TEST(CardRecordsTest, CodeVersionEndsAtItsTerminatorOrAtThirtyOneCharacters) {
  const std::string text = "4.02\0junk";
  EXPECT_EQ(card::DecodeCodeVersion({reinterpret_cast<const uint8_t*>(text.data()), 9}), "4.02");
  const std::string long_text(40, 'V');
  EXPECT_EQ(card::DecodeCodeVersion({reinterpret_cast<const uint8_t*>(long_text.data()), 40}), std::string(31, 'V'));
  EXPECT_EQ(card::DecodeCodeVersion({}), "");
}

TEST(CardRecordsTest, Te1AlarmWordAndCounters) {
  auto image = Image(20, {{4, 1}, {8, 2}, {12, 0xFFFFFFFF}, {16, 4}}, 4);
  image[0] = 0x38;
  image[1] = 0x04;
  const card::Te1Alarms a = card::Te1Alarms::Decode(image);
  for (uint16_t bit : {card::Te1Alarms::kOof, card::Te1Alarms::kRed, card::Te1Alarms::kAis, card::Te1Alarms::kYel})
    EXPECT_TRUE(a.raised(bit)) << bit;
  EXPECT_EQ(a.counters, (std::array<uint32_t, 4>{1, 2, 0xFFFFFFFF, 4}));
  std::vector<uint8_t> again(20);
  a.Encode(again);
  EXPECT_EQ(again, image);
}

TEST(CardRecordsTest, EveryReceiveLevelOfA56KUnit) {
  const char* loss[] = {"?", "?", "?", "?", "?", "?", "?", "50.0", "44.4", "38.4", "32.3", "26.0", "19.7", "13.6", "7.0", "0.0"};
  const char* length[] = {"?", "?", "?", "?", "?", "?", "?", "8.5", "7.5", "6.4", "5.3", "4.2", "3.2", "2.1", "1.1", "0.0"};
  for (unsigned level = 0; level < 16; ++level) {
    const card::Status56K s{static_cast<uint16_t>((0x80FF & ~0x0F00) | (level << 8))};
    EXPECT_STREQ(s.receiveLevel().insertion_loss_db, loss[level]) << level;
    EXPECT_STREQ(s.receiveLevel().line_length_km, length[level]) << level;
    EXPECT_EQ(s.signalGood(), level > 8) << level;
  }
}

}  // namespace
