#include "exporter/wrapping_counter.h"

#include <gtest/gtest.h>

namespace exporter {
namespace {

TEST(WrappingCounter, EqualsTheCardsCountUntilItFalls) {
  WrappingCounter c(32);
  EXPECT_EQ(c.update(123456), 123456u);
  EXPECT_EQ(c.update(123456), 123456u);
  EXPECT_EQ(c.update(4000000000u), 4000000000u);
}

TEST(WrappingCounter, AWrapAtLineRateCountsTheStepsAcrossIt) {
  WrappingCounter c(32);
  c.update(0xFFFFFF00u);
  EXPECT_EQ(c.update(0x100), 0x100000000ull + 0x100);
  EXPECT_EQ(c.update(0x200), 0x100000000ull + 0x200);
  // A second wrap stacks on the first.
  c.update(0xFFFFFFF0u);
  EXPECT_EQ(c.update(0x10), 0x200000000ull + 0x10);
}

TEST(WrappingCounter, AClearRestartsFromZeroOnTopOfWhatWasCounted) {
  WrappingCounter c(32);
  c.update(5000);
  EXPECT_EQ(c.update(0), 5000u);
  EXPECT_EQ(c.update(7), 5007u);
  // Cleared and counted past its old value before the next scrape: the fall
  // is not seen, the rise is.
  EXPECT_EQ(c.update(6000), 11000u);
}

TEST(WrappingCounter, SixteenBitCountersWrapAtTheirOwnWidth) {
  WrappingCounter c(16);
  c.update(65530);
  EXPECT_EQ(c.update(4), 65540u);
  // A clear from the middle of the range is not a wrap.
  WrappingCounter cleared(16);
  cleared.update(30000);
  EXPECT_EQ(cleared.update(2), 30002u);
}

}  // namespace
}  // namespace exporter
