// The pieces of talvctl that read what users type: configure's settings and
// frame bytes.

#include <gtest/gtest.h>

#include "driver_if/mailbox.h"
#include "tools/talvctl/configure_settings.h"
#include "tools/talvctl/frame_bytes.h"

namespace {

using talvctl::ApplySettings;
using talvctl::LineSetup;
using talvctl::StartingSetup;

std::optional<std::string> Apply(LineSetup& setup, std::vector<std::string> settings) {
  return ApplySettings(settings, setup);
}

TEST(ConfigureSettings, StartFromTheCardsConfigurationAndFrontEnd) {
  StreamingConfig reported;
  reported.max_frame_size = 700;
  const LineSetup t1 = StartingSetup(reported, kFrontEndT1);
  EXPECT_EQ(t1.chdlc.max_frame_size, 700);
  EXPECT_EQ(t1.line.media_type, kMediaT1);
  EXPECT_EQ(t1.channels, "ALL");
  EXPECT_EQ(StartingSetup(std::nullopt, kFrontEndE1).line.framing, 4);
  EXPECT_EQ(StartingSetup(std::nullopt, kFrontEnd56K).line.media_type, kMedia56K);
  EXPECT_EQ(StartingSetup(std::nullopt, kFrontEndNone).chdlc.max_frame_size, 2000);
}

TEST(ConfigureSettings, ChannelBitmapsOfBothMedia) {
  LineSetup t1 = StartingSetup(std::nullopt, kFrontEndT1);
  ASSERT_EQ(Apply(t1, {}), std::nullopt);
  EXPECT_EQ(t1.line.active_channels, 0xFFFFFFFFu);
  ASSERT_EQ(Apply(t1, {"channels=1-24"}), std::nullopt);
  EXPECT_EQ(t1.line.active_channels, 0x00FFFFFFu);
  ASSERT_EQ(Apply(t1, {"channels=1,"}), std::nullopt);
  EXPECT_EQ(t1.line.active_channels, 1u);
  ASSERT_EQ(Apply(t1, {"channels=NONE"}), std::nullopt);
  EXPECT_EQ(t1.line.active_channels, 0u);
  for (const char* bad : {"channels=0", "channels=-1", "channels=1 2", "channels=1,,2", "channels=3-"})
    EXPECT_NE(Apply(t1, {bad}), std::nullopt) << bad;

  LineSetup e1 = StartingSetup(std::nullopt, kFrontEndE1);
  ASSERT_EQ(Apply(e1, {"channels=1-32"}), std::nullopt);
  EXPECT_EQ(e1.line.active_channels, 0xFFFFFFFFu);
  EXPECT_NE(Apply(e1, {"channels=33"}), std::nullopt);
}

TEST(ConfigureSettings, ChangingTheMediumResetsTheLineFields) {
  LineSetup setup = StartingSetup(std::nullopt, kFrontEndT1);
  ASSERT_EQ(Apply(setup, {"framing=D4", "channels=3"}), std::nullopt);
  EXPECT_EQ(setup.line.framing, 2);
  // The medium is taken first wherever it stands, so the other keys are checked against E1.
  ASSERT_EQ(Apply(setup, {"channels=0", "media=E1"}), std::nullopt);
  EXPECT_EQ(setup.line.media_type, kMediaE1);
  EXPECT_EQ(setup.line.framing, 4);
  EXPECT_EQ(setup.line.active_channels, 0x80000000u);
  EXPECT_EQ(Apply(setup, {"lbo=15dB", "media=E1"}), "lbo applies to T1 only");
  LineSetup serial = StartingSetup(std::nullopt, kFrontEndT1);
  ASSERT_EQ(Apply(serial, {"media=serial", "baud=56000", "interface=V.35"}), std::nullopt);
  EXPECT_EQ(serial.line.media_type, kMediaSerial);
  EXPECT_EQ(serial.chdlc.baud_rate, 56000u);
}

TEST(ConfigureSettings, MessagesNameTheKeyAndTheValue) {
  LineSetup setup = StartingSetup(std::nullopt, kFrontEndNone);
  EXPECT_EQ(Apply(setup, {"max-frame=70000"}), "max-frame: \"70000\" is not a number from 0 to 65535");
  EXPECT_EQ(Apply(setup, {"interface=X.21"}), "interface: \"X.21\" is not one of V.35, RS-232");
  EXPECT_EQ(Apply(setup, {"lbo=0dB"}), "lbo applies to T1 only");
  // A refused setting leaves nothing half-applied that is sent.
  EXPECT_EQ(setup.chdlc.max_frame_size, 2000);
}

TEST(FrameBytes, TokensOfOneOrTwoHexDigits) {
  auto bytes = talvctl::ParseHexBytes("  03 cc\t45 A ");
  ASSERT_TRUE(std::holds_alternative<std::vector<uint8_t>>(bytes));
  EXPECT_EQ(std::get<std::vector<uint8_t>>(bytes), (std::vector<uint8_t>{0x03, 0xCC, 0x45, 0x0A}));
  EXPECT_TRUE(std::get<std::vector<uint8_t>>(talvctl::ParseHexBytes("")).empty());
  for (const char* bad : {"123", "0x1", "G", "-1", "1,2"}) {
    auto parsed = talvctl::ParseHexBytes(std::string("00 ") + bad);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << bad;
    EXPECT_NE(std::get<std::string>(parsed).find(std::string("\"") + bad + "\" (byte 2)"), std::string::npos);
  }
  const uint8_t frame[] = {0x03, 0xCC};
  EXPECT_EQ(talvctl::HexBytes(frame, 2), "03 CC");
}

}  // namespace
