#include "monitor/traffic/set_config_dialog.h"

#include <gtest/gtest.h>

#include "tests/support/fake_host.h"
#include "tests/support/fake_prompter.h"

namespace {

using D = SetConfigDialog;

class SetConfigTest : public ::testing::Test {
 protected:
  bool edit(std::function<void(fake::FakeForm&)> script) {
    host.onModal("SETCONFIG", std::move(script));
    return EditConfiguration(host, prompter, records);
  }
  fake::FakeHost host;
  fake::FakePrompter prompter;
  ConfigurationRecords records;
};

TEST_F(SetConfigTest, FirstOpeningShowsTheDefaults) {
  edit([](fake::FakeForm& f) {
    EXPECT_EQ(f.title(), "Set Streaming Configuration on Device");
    EXPECT_EQ(f.text(D::kBaudRate), "0");
    EXPECT_EQ(f.text(D::kMaxFrameSize), "2000");
    EXPECT_EQ(f.text(D::kPercentTxBuffers), "50");
    EXPECT_FALSE(f.isChecked(D::kManualDtrRts));
    EXPECT_TRUE(f.isChecked(D::kIgnoreModemChanges));
    EXPECT_TRUE(f.isChecked(500));
    EXPECT_TRUE(f.isChecked(501));
    EXPECT_FALSE(f.isChecked(502));
    EXPECT_FALSE(f.isChecked(503));
    EXPECT_EQ(f.listText(D::kMediaType, f.listSelection(D::kMediaType)), "Serial/FT1");
    EXPECT_EQ(f.listText(D::kInterface, f.listSelection(D::kInterface)), "V.35");
    EXPECT_EQ(f.text(D::kActiveChannels), "ALL");
    EXPECT_FALSE(f.isEnabled(D::kActiveChannels));
    EXPECT_EQ(f.listText(D::kT1LineDecoding, f.listSelection(D::kT1LineDecoding)), "AMI");
    EXPECT_EQ(f.listText(D::kE1LineDecoding, f.listSelection(D::kE1LineDecoding)), "AMI");
    EXPECT_EQ(f.lines(D::kT1Lbo).size(), 9u);
    f.click(D::kCancel);
  });
}

TEST_F(SetConfigTest, EnablingRuleFollowsTheMediaType) {
  edit([](fake::FakeForm& f) {
    const int ids[] = {D::kBaudRate, D::kInterface, D::kActiveChannels, D::kClocking, D::kT1Framing,
                       D::kT1LineDecoding, D::kT1Lbo, D::kE1Framing, D::kE1LineDecoding};
    const bool expected[4][9] = {
        {true, true, false, false, false, false, false, false, false},
        {false, false, true, true, true, true, true, false, false},
        {false, false, true, true, false, false, false, true, true},
        {false, false, false, false, false, false, false, false, false},
    };
    for (int media : {1, 2, 3, 0}) {
      f.select(D::kMediaType, media);
      for (int i = 0; i < 9; ++i) EXPECT_EQ(f.isEnabled(ids[i]), expected[media][i]) << media << " " << ids[i];
    }
    f.click(D::kCancel);
  });
}

TEST_F(SetConfigTest, T1StoreAndRefill) {
  EXPECT_TRUE(edit([](fake::FakeForm& f) {
    f.select(D::kMediaType, 1);
    f.type(D::kActiveChannels, "1-24");
    f.select(D::kT1Framing, 2);
    f.select(D::kT1Lbo, 8);
    f.select(D::kT1LineDecoding, 1);
    f.select(D::kClocking, 1);
    f.type(D::kMaxFrameSize, "1500");
    f.click(D::kManualDtrRts);
    f.click(503);
    f.click(D::kOk);
  }));
  const TECardConfig& te = records.te;
  EXPECT_EQ(te.media_type, kMediaT1);
  EXPECT_EQ(te.framing, 3);
  EXPECT_EQ(te.line_build_out, 9);
  EXPECT_EQ(te.line_decoding, 2);
  EXPECT_EQ(te.clocking, 2);
  EXPECT_EQ(te.active_channels, 0x00FFFFFFu);
  EXPECT_EQ(records.active_channels_text, "1-24");
  EXPECT_EQ(records.streaming.max_frame_size, 1500);
  EXPECT_EQ(records.streaming.modem_options, 3);
  EXPECT_EQ(records.streaming.statistics_options, 0x0B);
  edit([](fake::FakeForm& f) {
    EXPECT_EQ(f.listSelection(D::kMediaType), 1);
    EXPECT_EQ(f.listSelection(D::kT1Framing), 2);
    EXPECT_EQ(f.listSelection(D::kT1Lbo), 8);
    EXPECT_EQ(f.listSelection(D::kT1LineDecoding), 1);
    EXPECT_EQ(f.listSelection(D::kClocking), 1);
    EXPECT_EQ(f.text(D::kActiveChannels), "1-24");
    // The E1 lists show their first items while the media type is T1.
    EXPECT_EQ(f.listSelection(D::kE1Framing), 0);
    EXPECT_EQ(f.listSelection(D::kE1LineDecoding), 0);
    f.click(D::kCancel);
  });
}

TEST_F(SetConfigTest, E1StoreAndAllOnT1) {
  EXPECT_TRUE(edit([](fake::FakeForm& f) {
    f.select(D::kMediaType, 2);
    f.type(D::kActiveChannels, "0");
    f.select(D::kE1Framing, 1);
    f.select(D::kE1LineDecoding, 1);
    f.click(D::kOk);
  }));
  EXPECT_EQ(records.te.framing, 5);
  EXPECT_EQ(records.te.line_decoding, 2);
  EXPECT_EQ(records.te.active_channels, 0x80000000u);
  edit([](fake::FakeForm& f) {
    EXPECT_EQ(f.listSelection(D::kE1Framing), 1);
    EXPECT_EQ(f.listSelection(D::kE1LineDecoding), 1);
    f.select(D::kE1Framing, 0);
    f.click(D::kOk);
  });
  EXPECT_EQ(records.te.framing, 4);
  EXPECT_TRUE(edit([](fake::FakeForm& f) {
    f.select(D::kMediaType, 1);
    f.type(D::kActiveChannels, "ALL");
    f.click(D::kOk);
  }));
  EXPECT_EQ(records.te.active_channels, 0xFFFFFFFFu);
}

TEST_F(SetConfigTest, RejectedChannelTextKeepsTheEarlierStepsOnly) {
  records.te.framing = 2;
  EXPECT_FALSE(edit([](fake::FakeForm& f) {
    f.type(D::kBaudRate, "56000");
    f.type(D::kMaxFrameSize, "65537");
    f.select(D::kMediaType, 1);
    f.type(D::kActiveChannels, "25");
    f.select(D::kT1Framing, 0);
    f.click(D::kOk);
    EXPECT_TRUE(f.ended());
  }));
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Error found in \"Active Channels\" string. The configuration was not saved.");
  EXPECT_EQ(prompter.last().caption, "Configuration Error");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
  EXPECT_EQ(records.streaming.baud_rate, 56000u);
  EXPECT_EQ(records.streaming.max_frame_size, 1);
  EXPECT_EQ(records.te.media_type, kMediaT1);
  EXPECT_EQ(records.te.framing, 2);
  EXPECT_EQ(records.active_channels_text, "ALL");
}

TEST_F(SetConfigTest, SerialAnd56KChangeOnlyTheMediaType) {
  records.te.framing = 3;
  records.te.clocking = 2;
  EXPECT_TRUE(edit([](fake::FakeForm& f) {
    f.select(D::kMediaType, 3);
    f.click(D::kOk);
  }));
  EXPECT_EQ(records.te.media_type, kMedia56K);
  EXPECT_EQ(records.te.framing, 3);
  EXPECT_EQ(records.te.clocking, 2);
}

TEST_F(SetConfigTest, ListWithoutSelectionKeepsTheField) {
  records.streaming.interface = 7;
  EXPECT_TRUE(edit([](fake::FakeForm& f) {
    EXPECT_EQ(f.listSelection(D::kInterface), -1);
    f.click(D::kOk);
  }));
  EXPECT_EQ(records.streaming.interface, 7);
}

TEST_F(SetConfigTest, TitleBarCloseIsIgnored) {
  EXPECT_FALSE(edit([](fake::FakeForm& f) {
    f.closeBox();
    EXPECT_FALSE(f.ended());
    f.click(D::kCancel);
  }));
}

TEST(NumberRulesTest, BaudRateHas32BitLongSemantics) {
  const std::pair<const char*, int32_t> cases[] = {
      {"64000", 64000},      {"  +12abc", 12},          {"-1", -1},      {"abc", 0},
      {"", 0},               {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX},
      {"99999999999999999999", INT32_MAX}, {"-2147483648", INT32_MIN}, {"-99999999999999", INT32_MIN},
      {"\t 7", 7},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(DecimalToLong(text), value) << text;
}

TEST(NumberRulesTest, SixteenBitFieldsKeepTheLowBits) {
  const std::pair<const char*, uint16_t> cases[] = {
      {"2000", 2000}, {"65537", 1}, {"  50", 50}, {"x", 0}, {"-5", 0}, {"", 0},
      {"18446744073709551617", static_cast<uint16_t>(0x0001)},  // 2^64 + 1
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(DecimalLow16(text), value) << text;
}

}  // namespace
