#include "monitor/line/ft1_config_dialog.h"

#include "tests/monitor/line/ft1_fixture.h"

namespace {

using D = Ft1ConfigDialog;

std::vector<uint8_t> Image(const Ft1Configuration& c) {
  std::vector<uint8_t> b(Ft1Configuration::kSize);
  c.Write(b);
  return b;
}

class Ft1ConfigTest : public Ft1Test {
 protected:
  void unitHas(const Ft1Configuration& c) { replies[READ_FT1_CONFIGURATION] = {0, Image(c)}; }
  // Opens the dialog, lets the script act, then closes it.
  void run(std::function<void(fake::FakeForm&)> script) {
    host.onModal("FT1_CONFIG", [script](fake::FakeForm& f) {
      script(f);
      f.click(D::kClose);
    });
    host.command(kMenuFt1Configuration);
  }
  // What the Set Configuration presses sent.
  std::vector<Ft1Configuration> written() const {
    std::vector<Ft1Configuration> out;
    for (const auto& r : requestsOf(SET_FT1_CONFIGURATION)) {
      EXPECT_EQ(le::get_u16(r.in, 2), 12);
      EXPECT_EQ(r.code, IOCTL_EXEC_CMD);
      out.push_back(Ft1Configuration::Read(std::span(r.in).subspan(16)));
    }
    return out;
  }
};

TEST_F(Ft1ConfigTest, TheReadConfigurationFillsTheControls) {
  unitHas({.framing = 1, .encoding = 0, .line_build_out = 5, .channel_base = 3, .baud_rate = 1536, .clock_mode = 1});
  run([](fake::FakeForm& f) {
    EXPECT_FALSE(f.isChecked(D::kEsf));
    EXPECT_TRUE(f.isChecked(D::kD4));
    EXPECT_TRUE(f.isChecked(D::kB8zs));
    EXPECT_FALSE(f.isChecked(D::kAmi));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(f.isChecked(300 + i), i == 5) << i;
    EXPECT_FALSE(f.isChecked(D::kNormal));
    EXPECT_TRUE(f.isChecked(D::kMaster));
    EXPECT_EQ(f.text(D::kChannelBase), "3");
    EXPECT_EQ(f.text(D::kBaudRate), "1536");
    EXPECT_GE(f.raisedCount(), 1);
  });
  EXPECT_EQ(requestsOf(READ_FT1_CONFIGURATION).size(), 1u);
  EXPECT_EQ(requestsOf(READ_FT1_CONFIGURATION)[0].code, IOCTL_EXEC_CMD);
}

TEST_F(Ft1ConfigTest, SetSendsWhatTheControlsShow) {
  unitHas({.framing = 0, .encoding = 0, .line_build_out = 0, .channel_base = 1, .baud_rate = 64, .clock_mode = 0});
  run([](fake::FakeForm& f) {
    f.click(D::kSet);
    for (int id : {D::kD4, D::kAmi, 307, D::kMaster}) f.click(id);
    EXPECT_FALSE(f.isChecked(D::kEsf) || f.isChecked(D::kB8zs) || f.isChecked(300) || f.isChecked(D::kNormal));
    f.type(D::kChannelBase, "12");
    f.type(D::kBaudRate, "1344");
    f.click(D::kSet);
  });
  EXPECT_EQ(written(), (std::vector<Ft1Configuration>{
                           {.framing = 0, .encoding = 0, .line_build_out = 0, .channel_base = 1, .baud_rate = 64, .clock_mode = 0},
                           {.framing = 1, .encoding = 1, .line_build_out = 7, .channel_base = 12, .baud_rate = 1344, .clock_mode = 1},
                       }));
  EXPECT_EQ(requestsOf(READ_FT1_CONFIGURATION).size(), 1u);  // a write is never followed by a fresh read
}

TEST_F(Ft1ConfigTest, ValuesNoButtonShowsAreSentAsTheirFallback) {
  unitHas({.framing = 2, .encoding = 5, .line_build_out = 9, .channel_base = 0, .baud_rate = 0, .clock_mode = 3});
  run([](fake::FakeForm& f) {
    EXPECT_FALSE(f.isChecked(D::kEsf) || f.isChecked(D::kD4));
    EXPECT_FALSE(f.isChecked(D::kB8zs) || f.isChecked(D::kAmi));
    EXPECT_FALSE(f.isChecked(D::kNormal) || f.isChecked(D::kMaster));
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(f.isChecked(300 + i));
    f.type(D::kChannelBase, "");
    f.type(D::kBaudRate, "");
    f.click(D::kSet);
  });
  // D4, AMI, Master; the line build-out the unit reported.
  EXPECT_EQ(written(), (std::vector<Ft1Configuration>{
                           {.framing = 1, .encoding = 1, .line_build_out = 9, .channel_base = 0, .baud_rate = 0, .clock_mode = 1}}));
}

TEST_F(Ft1ConfigTest, NumberFieldsReadTheirLeadingDigitsWithinSixteenBits) {
  const std::pair<const char*, uint16_t> cases[] = {
      {"", 0},           {"abc", 0},      {" 12", 0},    {"-5", 0},     {"0", 0},
      {"1544", 1544},    {"12ab", 12},    {"65535", 65535}, {"65536", 65535}, {"65600", 65535},
      {"000000000000000000000042", 42}, {"99999999999999999999999999", 65535},
  };
  for (auto [text, value] : cases) EXPECT_EQ(D::ParseField(text), value) << text;
}

TEST_F(Ft1ConfigTest, AFailedReadEndsTheDialogWithItsMessage) {
  struct Case {
    CardReply reply;
    ui::Icon icon;
    const char* text;
  };
  const Case cases[] = {
      {{RC_NO_FT1_ADAPTER}, ui::Icon::Error,
       "The command failed because the monitor is not connected to VR20/FT-1 or VR40/FT-1 adapter."},
      {{RC_FT1_BAD_CONFIGURATION}, ui::Icon::Warning,
       "The FT1 configuration was not read from the CSU\\DSU.\nIf FT1 Operational Statistics Window is open, "
       "please close it and repeat the command."},
      {{RC_FT1_TX_BUSY}, ui::Icon::Warning,
       "The command failed because the asyncronous transmit buffer is currently occupied. Please repeat the "
       "command.\n"},
      {{RC_REMOTE_DRIVER}, ui::Icon::Warning, "Cannot perform the command on Remote Driver"},
      {{0, {}, false}, ui::Icon::Warning, "Cannot perform the command on Remote Driver"},
  };
  for (const Case& c : cases) {
    prompter.clear();
    replies[READ_FT1_CONFIGURATION] = c.reply;
    host.command(kMenuFt1Configuration);  // no script: the dialog must end by itself
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, c.text);
    EXPECT_EQ(prompter.last().caption, "Read T1 Configuration");
    EXPECT_EQ(prompter.last().icon, c.icon);
    EXPECT_EQ(prompter.last().owner, ui::Owner::MainWindow);
    EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Configuration));
  }
  EXPECT_TRUE(written().empty());
}

TEST_F(Ft1ConfigTest, EveryWriteVerdictIsReportedAndTheDialogStays) {
  struct Case {
    CardReply reply;
    ui::Icon icon;
    std::string text;
  };
  const Case cases[] = {
      {{0}, ui::Icon::Information, "The command was performed successfuly."},
      {{RC_FT1_BAD_BAUD_RATE}, ui::Icon::Warning, "The selected FT1 baud rate is invalid for the encoding mode"},
      {{RC_FT1_BAD_CONFIGURATION, std::vector<uint8_t>(6)}, ui::Icon::Warning,
       "The passed FT1 configuration data was invalid. Offset of the invalid parameter is 6"},
      {{RC_FT1_BAD_CHANNEL_BASE}, ui::Icon::Warning, "The defined channnel base is invalid"},
      {{RC_FT1_TX_BUSY}, ui::Icon::Warning,
       "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command"},
      {{RC_NO_FT1_ADAPTER}, ui::Icon::Warning,
       "The command failed because the monitor is not connected to VR20/FT-1 or VR40/FT-1 adapter."},
      {{RC_REMOTE_DRIVER}, ui::Icon::Warning, "Cannot perform the command on Remote Driver (0xCD)"},
      {{0, {}, false}, ui::Icon::Warning, "Cannot perform the command on Remote Driver (0xAA)"},
  };
  unitHas({.channel_base = 1, .baud_rate = 24});
  run([&](fake::FakeForm& f) {
    for (const Case& c : cases) {
      prompter.clear();
      replies[SET_FT1_CONFIGURATION] = c.reply;
      f.type(D::kBaudRate, "48");
      f.click(D::kSet);
      ASSERT_EQ(prompter.count(), 1u);
      EXPECT_EQ(prompter.last().text, c.text);
      EXPECT_EQ(prompter.last().caption, "Set T1 Configuration");
      EXPECT_EQ(prompter.last().icon, c.icon);
      EXPECT_FALSE(f.ended());
      EXPECT_EQ(f.text(D::kBaudRate), "48");  // the user's fields stay as they were
    }
  });
  EXPECT_EQ(written().size(), 8u);
}

TEST_F(Ft1ConfigTest, TheItemIsGreyWhileTheDialogRuns) {
  unitHas({});
  run([this](fake::FakeForm&) { EXPECT_FALSE(host.isMenuEnabled(kMenuFt1Configuration)); });
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Configuration));
  host.onModal("FT1_CONFIG", [](fake::FakeForm& f) { f.closeBox(); });
  host.command(kMenuFt1Configuration);
  EXPECT_EQ(host.pendingModalScripts(), 0u);
}

}  // namespace
