#include "monitor/line/hex_field.h"

#include <gtest/gtest.h>

TEST(HexFieldTest, Conversions) {
  const std::pair<const char*, int32_t> cases[] = {
      {"", 0},          {"1ff", 511},   {"1FF", 511},      {"1Ff", 511},
      {"e000", 57344},  {"100", 256},   {"G", 16},         {"1G", 32},
      {"100000000", 0}, {"1 a", -582},  {"FFFFFFFF", -1},  {"7fffffff", INT32_MAX},
      {"0", 0},         {"a", 10},      {"z", 35},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseHexField(text), value) << '"' << text << '"';
}

TEST(HexFieldTest, OtherCharactersShiftAndNeverCrash) {
  // '!' (33) shifts to 1, then counts 1 - 55.
  EXPECT_EQ(ParseHexField("!"), 1 - 55);
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  (void)ParseHexField(all);
  (void)ParseHexField(std::string(10000, 'F'));
}
