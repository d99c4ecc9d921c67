#include "monitor/traffic/frame_format.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "monitor/traffic/frame_history.h"
#include "monitor/traffic/frame_text.h"

namespace {

std::vector<uint8_t> Counting(size_t n) {
  std::vector<uint8_t> v(n);
  std::iota(v.begin(), v.end(), uint8_t{0});
  return v;
}

TEST(FrameFormatTest, SummaryLine) {
  std::vector<uint8_t> six = {0x03, 0xCC, 0x45, 0x01, 0xAB, 0xCD};
  EXPECT_EQ(SummaryLine(0x00, 6, 77, six), "0x00     4      77     03 CC 45 01 ");
  EXPECT_EQ(SummaryLine(0x80, 0, 65535, {}), "0x80     0   65535     ");
  EXPECT_EQ(SummaryLine(0x01, 1, 1, six), "0x01     0       1     ");
  auto many = Counting(40);
  std::string line = SummaryLine(0, 40, 0, many);
  EXPECT_EQ(line.substr(23), "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E ");
}

TEST(FrameFormatTest, DumpRows) {
  EXPECT_EQ(FrameDump({}), "\r\n");
  std::vector<uint8_t> six = {0x03, 0xCC, 0x45, 0x01, 0xAB, 0xCD};
  EXPECT_EQ(FrameDump(six), "0000  03 CC 45 01 AB CD \r\n");
  EXPECT_EQ(FrameDump(Counting(17)),
            "0000  00 01 02 03 04 05 06 07 - 08 09 0A 0B 0C 0D 0E 0F \r\n0010  10 \r\n");
  EXPECT_EQ(FrameDump(Counting(8)), "0000  00 01 02 03 04 05 06 07 - \r\n");
}

TEST(FrameFormatTest, DumpStopsAt4000Bytes) {
  std::string dump = FrameDump(Counting(5000));
  size_t rows = 0;
  for (size_t p = dump.find("\r\n"); p != std::string::npos; p = dump.find("\r\n", p + 2)) ++rows;
  EXPECT_EQ(rows, 250u);
  EXPECT_EQ(dump.substr(dump.size() - 58), "0F90  " + std::string("90 91 92 93 94 95 96 97 - 98 99 9A 9B 9C 9D 9E 9F \r\n"));
}

TEST(FrameTextTest, HexTokensGiveOneByteEach) {
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"03 CC 45 01", {0x03, 0xCC, 0x45, 0x01}},
      {"123", {0x12}},
      {"A", {0x0A}},
      {"03  CC", {0x03, 0xCC}},
      {" 03", {0x03}},
      {"03\tcc\r\n45", {0x03, 0xCC, 0x45}},
      {"zz 1", {0x00, 0x01}},
      {"1z", {0x01}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& [text, bytes] : cases) EXPECT_EQ(HexFrameBytes(text), bytes) << '"' << text << '"';
}

TEST(FrameTextTest, TextIsCutOnACharacterBoundary) {
  EXPECT_EQ(CutFrameText(std::string(1200, 'a')).size(), 999u);
  std::string euros;
  for (int i = 0; i < 400; ++i) euros += "\xE2\x82\xAC";  // three bytes each
  EXPECT_EQ(CutFrameText(euros).size(), 999u);
  std::string odd = "a" + euros;
  EXPECT_EQ(CutFrameText(odd).size(), 997u);
}

TEST(FrameHistoryTest, TenNewestFirst) {
  FrameHistory h;
  EXPECT_TRUE(h.newestFirst().empty());
  for (int i = 1; i <= 11; ++i) h.add(std::to_string(i));
  auto lines = h.newestFirst();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines.front(), "11");
  EXPECT_EQ(lines.back(), "2");
}

}  // namespace
