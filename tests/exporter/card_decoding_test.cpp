// The card-layer decoders the exporter added: FT1 lights and report lines.

#include <gtest/gtest.h>

#include "card/front_end_loopbacks.h"
#include "card/ft1_lights.h"
#include "card/ft1_statistics_line.h"

namespace card {
namespace {

using enum Ft1Colour;

TEST(Ft1Lamps, ActiveLowBitsWithTheLaterColourWinningWhereBothAreLit) {
  EXPECT_EQ(DecodeFt1Lamps({0xFF, 0xFF}), (Ft1LampColours{kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}));
  EXPECT_EQ(DecodeFt1Lamps({0x00, 0x00}),
            (Ft1LampColours{kGreen, kRed, kGreen, kGreen, kRed, kRed, kRed, kGreen}));
  // Only the first bit of each two-bit light lit.
  EXPECT_EQ(DecodeFt1Lamps({0xFE, static_cast<uint8_t>(~(0x10 | 0x04 | 0x40))}),
            (Ft1LampColours{kRed, kGreen, kOff, kOff, kGreen, kOff, kOff, kRed}));
}

TEST(Ft1StatisticsLine, FixedColumnsEvenWhereFourDigitCountsRunTogether) {
  const auto line = ParseFt1StatisticsLine("\n01:07   3   1   0   0   0   9");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->minutes, 1u);
  EXPECT_EQ(line->seconds, 7u);
  EXPECT_EQ(line->counts, (std::array<uint32_t, 6>{3, 1, 0, 0, 0, 9}));

  const auto full = ParseFt1StatisticsLine(" 59:59999912345678   0   1   2");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->counts, (std::array<uint32_t, 6>{9999, 1234, 5678, 0, 1, 2}));
}

TEST(Ft1StatisticsLine, AnyOtherShapeIsRefused) {
  EXPECT_FALSE(ParseFt1StatisticsLine(""));
  EXPECT_FALSE(ParseFt1StatisticsLine("\n"));
  EXPECT_FALSE(ParseFt1StatisticsLine("01:07   3   1   0   0   0"));
  EXPECT_FALSE(ParseFt1StatisticsLine("01-07   3   1   0   0   0   9"));
  EXPECT_FALSE(ParseFt1StatisticsLine("01:07   3   1  -1   0   0   9"));
  EXPECT_FALSE(ParseFt1StatisticsLine("01:07   3   1       0   0   9"));
}

TEST(ActiveLoopbacks, OneBitPerModeInTheirOrder) {
  const ActiveLoopbacks payload_and_remote{0x0A};
  EXPECT_FALSE(payload_and_remote.active(Loopback::kLine));
  EXPECT_TRUE(payload_and_remote.active(Loopback::kPayload));
  EXPECT_FALSE(payload_and_remote.active(Loopback::kDiagnosticDigital));
  EXPECT_TRUE(payload_and_remote.active(Loopback::kRemoteSignal));
}

}  // namespace
}  // namespace card
