#include "configurator/hardware_report.h"

#include <gtest/gtest.h>

#include "driver_if/device_names.h"
#include "driver_if/ioctl_codes.h"
#include "tests/configurator/card_script.h"

namespace {

using configurator::FormatHardwareLine;
using configurator::HardwareReport;
using namespace cfgtest;

struct LineCase {
  const char* name;
  int index;
  HardwareInfo info;
  const char* line;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class FormatLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(FormatLineTest, FormatsTheCardsResources) {
  EXPECT_EQ(FormatHardwareLine(GetParam().index, GetParam().info), GetParam().line);
}

HardwareInfo OfType(uint16_t type) {
  HardwareInfo info = IsaCard(0x360, 0xD0000, 10);
  info.card_type = type;
  return info;
}

INSTANTIATE_TEST_SUITE_P(
    Cards, FormatLineTest,
    ::testing::Values(
        LineCase{"Isa", 0, IsaCard(0x360, 0xD0000, 10),
                 "TALVSTRM0\tIO_Port: 0x360   Memory: 0xD0000   IRQ: 0xA"},
        LineCase{"IsaUpperCaseNoLeadingZeros", 15, IsaCard(0x0, 0xFFFFFFFF, 0x0F),
                 "TALVSTRM15\tIO_Port: 0x0   Memory: 0xFFFFFFFF   IRQ: 0xF"},
        LineCase{"PciCpuBPrimary", 2, PciCard(3, 14, 1, 0),
                 "TALVSTRM2\tBusNumber: 3   SlotNumber: 14   CPU: B   CommPort: PRIMARY"},
        LineCase{"PciCpuASecondary", 7, PciCard(0, 9, 0, 2),
                 "TALVSTRM7\tBusNumber: 0   SlotNumber: 9   CPU: A   CommPort: SECONDARY"},
        LineCase{"PciNumbersAreSigned", 1, PciCard(0xFFFFFFFF, 0x80000000, 7, 1),
                 "TALVSTRM1\tBusNumber: -1   SlotNumber: -2147483648   CPU: B   CommPort: SECONDARY"},
        LineCase{"UnknownTypeIsOneBlank", 4, OfType(30), " "},
        LineCase{"ZeroTypeIsOneBlank", 4, OfType(0), " "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HardwareReportTest, NoDevicePresentGivesAnEmptyReport) {
  CardScript cards;
  EXPECT_TRUE(HardwareReport(cards).empty());
  ASSERT_EQ(cards.driver.opened.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(cards.driver.opened[i], CardDeviceName(i));
}

TEST(HardwareReportTest, PresentDevicesInIndexOrder) {
  CardScript cards;
  cards.addCard(3, PciCard(1, 2, 1, 0));
  cards.addCard(0, IsaCard(0x360, 0xD0000, 10));
  const std::vector<std::string> lines = HardwareReport(cards);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "TALVSTRM0\tIO_Port: 0x360   Memory: 0xD0000   IRQ: 0xA");
  EXPECT_EQ(lines[1], "TALVSTRM3\tBusNumber: 1   SlotNumber: 2   CPU: B   CommPort: PRIMARY");
  EXPECT_EQ(cards.driver.open_handles, 0) << "every handle closed after its report";
}

TEST(HardwareReportTest, CardThatFailsTheRequestAddsNoLineAndIsClosed) {
  CardScript cards;
  cards.addCard(5, std::nullopt);
  cards.addCard(6, OfType(99));
  EXPECT_EQ(HardwareReport(cards), std::vector<std::string>{" "});
  EXPECT_EQ(cards.driver.open_handles, 0);
  ASSERT_EQ(cards.driver.requests.size(), 2u);
  for (const auto& r : cards.driver.requests) {
    EXPECT_EQ(r.code, IOCTL_READ_HARDWARE_INFO);
    EXPECT_TRUE(r.in.empty());
    EXPECT_EQ(r.out_len, HardwareInfo::kSize);
  }
}

TEST(HardwareReportTest, ShortReplyShowsZeroesNotStaleBytes) {
  CardScript cards;
  cards.addCard(0, IsaCard(0x360, 0xD0000, 10));
  // A driver that reports success but writes only the card type.
  cards.driver.answer = [](const fake::Request&, uint8_t* out, size_t) {
    out[0] = HardwareInfo::kIsaCard;
    out[1] = 0;
    return true;
  };
  EXPECT_EQ(HardwareReport(cards),
            std::vector<std::string>{"TALVSTRM0\tIO_Port: 0x0   Memory: 0x0   IRQ: 0x0"});
}

}  // namespace
