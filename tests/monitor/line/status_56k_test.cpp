#include <gtest/gtest.h>

#include "monitor/line/status_56k_window.h"
#include "tests/monitor/line/line_fixture.h"

namespace {

using W = Status56KWindow;
using ui::LightColour;
constexpr LightColour Off = LightColour::Off, Green = LightColour::Green, Red = LightColour::Red;
constexpr int kLights[] = {W::kInsLight, W::kDmiLight, W::kZscLight, W::kCmiLight, W::kOosLight,
                           W::kOofLight, W::kDlpLight, W::kUmcLight, W::kRlosLight};
using Lights = std::array<LightColour, 9>;  // INS DMI ZSC CMI OOS OOF DLP UMC RLOS
using Texts = std::pair<std::string, std::string>;  // insertion loss, line length

class Status56KTest : public LineTest {
 protected:
  fake::FakeForm& open() {
    connectWith(kFrontEnd56K);
    host.command(kMenu56KStatus);
    return window("IDD_56K_STATUS");
  }
  void refresh(fake::FakeForm& f) { host.fireTimer(f, W::kRefreshTimer); }
  void show(fake::FakeForm& f, uint16_t status) {
    std::vector<uint8_t> data(2);
    le::put_u16(data, 0, status);
    replies[READ_FRONT_END_ALARMS] = {0, data};
    refresh(f);
  }
  static Lights lights(const fake::FakeForm& f) {
    Lights out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = f.light(kLights[i]);
    return out;
  }
  static Texts texts(const fake::FakeForm& f) {
    return {f.text(W::kInsertionLoss), f.text(W::kLineLength)};
  }
};

TEST_F(Status56KTest, OpensOn56KOnlyWithItsTimer) {
  fake::FakeForm& f = open();
  EXPECT_EQ(f.title(), "Talvora 56K DSU\\CSU Alarms Window");
  EXPECT_EQ(host.kindOf(f), ui::WindowKind::TopLevel);
  EXPECT_EQ(host.timerPeriod(f, W::kRefreshTimer), 500u);
  EXPECT_TRUE(host.isMenuChecked(kMenu56KStatus));
  EXPECT_TRUE(driver.requests.empty());
  EXPECT_EQ(lights(f), Lights{});
  EXPECT_EQ(texts(f), Texts("?", "?"));
  host.command(kMenuCloseDevice);
  EXPECT_EQ(host.window("IDD_56K_STATUS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenu56KStatus));

  for (uint8_t front_end : {kFrontEndNone, kFrontEndT1, kFrontEndE1}) {
    connectWith(front_end);
    EXPECT_FALSE(host.isMenuEnabled(kMenu56KStatus));
    core->mainWindow().onMenuCommand(kMenu56KStatus);
    EXPECT_EQ(host.window("IDD_56K_STATUS"), nullptr);
    host.command(kMenuCloseDevice);
  }
}

TEST_F(Status56KTest, ReadsWithTwoClearedRequestBytes) {
  fake::FakeForm& f = open();
  core->exec().block().data()[0] = 0x55;
  core->exec().block().data()[1] = 0x66;
  show(f, 0x0F00);
  ASSERT_EQ(driver.requests.size(), 1u);
  const auto& r = driver.requests[0];
  EXPECT_EQ(r.code, IOCTL_EXEC_CMD_2K);
  EXPECT_EQ(r.in[1], READ_FRONT_END_ALARMS);
  EXPECT_EQ(le::get_u16(r.in, 2), 2);
  EXPECT_EQ(r.in[16], 0);
  EXPECT_EQ(r.in[17], 0);
}

TEST_F(Status56KTest, StatusWordLightsAndTexts) {
  struct Case {
    uint16_t status;
    Lights lights;
    const char *loss, *length;
  };
  const Case cases[] = {
      {0x0F00, {Green, Off, Off, Off, Off, Off, Off, Off, Off}, "0.0", "0.0"},
      {0x0800, {Red, Off, Off, Off, Off, Off, Off, Off, Off}, "44.4", "7.5"},
      {0x8300, {Red, Off, Off, Off, Off, Off, Off, Off, Red}, "?", "?"},
      {0x0980, {Green, Red, Off, Off, Off, Off, Off, Off, Off}, "38.4", "6.4"},
      {0x0040, {Red, Off, Red, Off, Off, Off, Off, Off, Off}, "?", "?"},
      {0x0020, {Red, Off, Off, Red, Off, Off, Off, Off, Off}, "?", "?"},
      {0x0010, {Red, Off, Off, Off, Red, Off, Off, Off, Off}, "?", "?"},
      {0x0008, {Red, Off, Off, Off, Off, Red, Off, Off, Off}, "?", "?"},
      {0x0004, {Red, Off, Off, Off, Off, Off, Red, Off, Off}, "?", "?"},
      {0x0002, {Red, Off, Off, Off, Off, Off, Off, Red, Off}, "?", "?"},
      // Bits 0x7001 mean nothing.
      {0x7001, {Red, Off, Off, Off, Off, Off, Off, Off, Off}, "?", "?"},
      {0xFFFF, {Green, Red, Red, Red, Red, Red, Red, Red, Red}, "0.0", "0.0"},
  };
  fake::FakeForm& f = open();
  for (const Case& c : cases) {
    show(f, c.status);
    EXPECT_EQ(lights(f), c.lights) << std::hex << c.status;
    EXPECT_EQ(texts(f), Texts(c.loss, c.length)) << std::hex << c.status;
  }
}

TEST_F(Status56KTest, EveryReceiveLevel) {
  const std::pair<const char*, const char*> levels[16] = {
      {"?", "?"},       {"?", "?"},       {"?", "?"},       {"?", "?"},
      {"?", "?"},       {"?", "?"},       {"?", "?"},       {"50.0", "8.5"},
      {"44.4", "7.5"},  {"38.4", "6.4"},  {"32.3", "5.3"},  {"26.0", "4.2"},
      {"19.7", "3.2"},  {"13.6", "2.1"},  {"7.0", "1.1"},   {"0.0", "0.0"},
  };
  fake::FakeForm& f = open();
  for (uint16_t index = 0; index < 16; ++index) {
    show(f, static_cast<uint16_t>(index << 8));
    EXPECT_EQ(f.text(W::kInsertionLoss), levels[index].first) << index;
    EXPECT_EQ(f.text(W::kLineLength), levels[index].second) << index;
    EXPECT_EQ(f.light(W::kInsLight), index > 8 ? Green : Red) << index;
  }
}

TEST_F(Status56KTest, FailedReadsKeepTheLastGoodStatus) {
  fake::FakeForm& f = open();
  replies[READ_FRONT_END_ALARMS] = {0x01, {0x00, 0x0F}};
  refresh(f);
  core->exec().block().setReturnCode(0);
  replies[READ_FRONT_END_ALARMS] = {0, {}, false};
  refresh(f);
  EXPECT_EQ(lights(f), Lights{});
  EXPECT_EQ(texts(f), Texts("?", "?"));

  show(f, 0x0A10);
  const Lights shown = lights(f);
  replies[READ_FRONT_END_ALARMS] = {0x01, {0x00, 0x8F}};
  refresh(f);
  EXPECT_EQ(lights(f), shown);
  EXPECT_EQ(texts(f), Texts("32.3", "5.3"));
  core->exec().block().setReturnCode(0);
  replies[READ_FRONT_END_ALARMS] = {0, {}, false};
  refresh(f);
  EXPECT_EQ(lights(f), shown);
  EXPECT_EQ(texts(f), Texts("32.3", "5.3"));
}

TEST_F(Status56KTest, ClosesByItsButtonAndItsCloseBox) {
  for (bool button : {true, false}) {
    fake::FakeForm& f = open();
    if (button) f.click(W::kClose);
    else f.closeBox();
    host.runPosted();
    EXPECT_EQ(host.window("IDD_56K_STATUS"), nullptr);
    EXPECT_FALSE(host.isMenuChecked(kMenu56KStatus));
    host.command(kMenuCloseDevice);
  }
}

TEST_F(Status56KTest, WithoutATimerTheWindowClosesAndIsNotMarkedOpen) {
  connectWith(kFrontEnd56K);
  host.timers_available = false;
  host.command(kMenu56KStatus);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().caption, "T1 Status Error");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
  EXPECT_EQ(host.window("IDD_56K_STATUS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenu56KStatus));
}

TEST_F(Status56KTest, ChoosingItAgainRaisesAndExitClosesIt) {
  fake::FakeForm& f = open();
  f.minimize();
  host.command(kMenu56KStatus);
  EXPECT_FALSE(f.isMinimized());
  EXPECT_EQ(host.windows().size(), 2u);
  host.destroyMainWindow();
  host.runPosted();
  EXPECT_EQ(host.window("IDD_56K_STATUS"), nullptr);
}

}  // namespace
