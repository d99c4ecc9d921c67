#include "card/active_channels.h"

#include <gtest/gtest.h>

#include "driver_if/records.h"

namespace {

struct Accepted {
  const char* text;
  uint32_t bits;
};

TEST(ActiveChannelsTest, AcceptedOnT1) {
  const Accepted cases[] = {
      {"ALL", 0xFFFFFFFF}, {"NONE", 0}, {"", 0}, {"1-24", 0x00FFFFFF}, {"1,3,5-7", 0x75},
      {"1,", 0x1},         {"24", 1u << 23}, {"2-2", 0x2}, {"1-2-3", 0x6}, {"5-3-4", 0xC},
      {"10,1-2", 0x203},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(ValidateChannelList(c.text, kMediaT1)) << c.text;
    EXPECT_EQ(ConvertChannelList(c.text), c.bits) << c.text;
  }
}

TEST(ActiveChannelsTest, AcceptedOnE1) {
  const Accepted cases[] = {
      {"1-32", 0xFFFFFFFF}, {"0", 0x80000000}, {"32", 0x80000000}, {"0-1", 0x80000001},
      {"NONE", 0},          {"", 0},           {"ALL", 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(ValidateChannelList(c.text, kMediaE1)) << c.text;
    EXPECT_EQ(ConvertChannelList(c.text), c.bits) << c.text;
  }
}

TEST(ActiveChannelsTest, Rejected) {
  const std::pair<const char*, uint8_t> cases[] = {
      {"0", kMediaT1},     {"25", kMediaT1},    {"5-3", kMediaT1},  {"1-", kMediaT1},
      {"-1", kMediaT1},    {",1", kMediaT1},    {"1 2", kMediaT1},  {"1,,2", kMediaT1},
      {"all", kMediaT1},   {"0-3", kMediaT1},   {"33", kMediaE1},   {"1-33", kMediaE1},
      {"1-2-", kMediaE1},  {" 1", kMediaE1},    {"1;2", kMediaE1},  {"None", kMediaE1},
      {"4294967297", kMediaT1}, {"4294967297", kMediaE1}, {"99999999999999999999999", kMediaE1},
  };
  for (const auto& [text, media] : cases) EXPECT_FALSE(ValidateChannelList(text, media)) << text;
}

TEST(ActiveChannelsTest, ConversionEndsForRangesAtTheTopOfTheNumbers) {
  // Found by fuzzing: a range ending at the largest number never ended.
  EXPECT_EQ(ConvertChannelList("4294967290-99999999999"), 0x7E000000u);
}

}  // namespace
