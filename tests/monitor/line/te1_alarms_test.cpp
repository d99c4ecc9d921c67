#include <gtest/gtest.h>

#include "monitor/line/te1_alarms_window.h"
#include "tests/monitor/line/line_fixture.h"

namespace {

using W = Te1AlarmsWindow;
using ui::LightColour;
constexpr LightColour Off = LightColour::Off, Green = LightColour::Green, Red = LightColour::Red;

class Te1AlarmsTest : public LineTest {
 protected:
  fake::FakeForm& open(uint8_t front_end = kFrontEndT1) {
    connectWith(front_end);
    host.command(kMenuTe1Alarms);
    return window("TE1ALARMS");
  }
  void refresh(fake::FakeForm& f) { host.fireTimer(f, W::kRefreshTimer); }
  std::array<LightColour, 4> lights(const fake::FakeForm& f) const {
    return {f.light(W::kOofLight), f.light(W::kRedLight), f.light(W::kAisLight), f.light(W::kYelLight)};
  }
  std::array<std::string, 4> counters(const fake::FakeForm& f) const {
    return {f.text(W::kFramingBitErrors), f.text(W::kSecondCounter), f.text(W::kThirdCounter),
            f.text(W::kLcvErrors)};
  }
};

TEST_F(Te1AlarmsTest, OpensOnT1WithItsTimerAndSendsNothing) {
  fake::FakeForm& f = open();
  EXPECT_EQ(f.title(), "Talvora TE-1 Alarms Window");
  EXPECT_EQ(host.kindOf(f), ui::WindowKind::TopLevel);
  EXPECT_EQ(host.timerPeriod(f, W::kRefreshTimer), 100u);
  EXPECT_TRUE(host.isMenuChecked(kMenuTe1Alarms));
  EXPECT_GE(f.raisedCount(), 1);
  EXPECT_TRUE(driver.requests.empty());
  EXPECT_EQ(lights(f), (std::array{Off, Off, Off, Off}));
  EXPECT_EQ(counters(f), (std::array<std::string, 4>{"?", "?", "?", "?"}));
  EXPECT_EQ(f.text(W::kSecondCounterLabel), "OOF Error Count: ");
  EXPECT_EQ(f.text(W::kThirdCounterLabel), "Bit Error Count: ");
}

TEST_F(Te1AlarmsTest, E1RenamesTwoCounters) {
  fake::FakeForm& f = open(kFrontEndE1);
  EXPECT_EQ(f.text(W::kSecondCounterLabel), "Far End Block Count");
  EXPECT_EQ(f.text(W::kThirdCounterLabel), "CRC Errors count");
}

TEST_F(Te1AlarmsTest, OtherFrontEndsOpenNothing) {
  for (uint8_t front_end : {kFrontEndNone, kFrontEnd56K}) {
    connectWith(front_end);
    EXPECT_FALSE(host.isMenuEnabled(kMenuTe1Alarms));
    core->mainWindow().onMenuCommand(kMenuTe1Alarms);
    EXPECT_EQ(host.window("TE1ALARMS"), nullptr);
    EXPECT_FALSE(host.isMenuChecked(kMenuTe1Alarms));
    host.command(kMenuCloseDevice);
  }
}

TEST_F(Te1AlarmsTest, EachAlarmBitLightsItsLight) {
  struct Case {
    uint8_t front_end;
    uint16_t alarms;
    std::array<LightColour, 4> lights;  // OOF, RED, AIS, YEL
  };
  const Case cases[] = {
      {kFrontEndT1, 0x0000, {Green, Green, Green, Green}},
      {kFrontEndT1, 0x0438, {Red, Red, Red, Red}},
      {kFrontEndT1, 0x0008, {Red, Green, Green, Green}},
      {kFrontEndT1, 0x0010, {Green, Red, Green, Green}},
      {kFrontEndT1, 0x0020, {Green, Green, Red, Green}},
      {kFrontEndT1, 0x0400, {Green, Green, Green, Red}},
      {kFrontEndT1, 0xFBC7, {Green, Green, Green, Green}},  // every bit the window ignores
      {kFrontEndE1, 0x0438, {Red, Red, Red, Off}},
      {kFrontEndE1, 0x0400, {Green, Green, Green, Off}},
      {kFrontEndE1, 0x0000, {Green, Green, Green, Off}},
  };
  for (const Case& c : cases) {
    fake::FakeForm& f = open(c.front_end);
    replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(c.alarms)};
    refresh(f);
    EXPECT_EQ(lights(f), c.lights) << std::hex << c.alarms << " on " << int(c.front_end);
    host.command(kMenuCloseDevice);
  }
}

TEST_F(Te1AlarmsTest, CountersAreUnsignedAtEveryOffset) {
  fake::FakeForm& f = open();
  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0, {1, 22, 333, 4444})};
  refresh(f);
  EXPECT_EQ(counters(f), (std::array<std::string, 4>{"1", "22", "333", "4444"}));
  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF})};
  refresh(f);
  EXPECT_EQ(counters(f), (std::array<std::string, 4>{"4294967295", "4294967295", "4294967295", "4294967295"}));
  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0, {0x80000000, 0x80000000, 0x80000001, 0})};
  refresh(f);
  EXPECT_EQ(counters(f), (std::array<std::string, 4>{"2147483648", "2147483648", "2147483649", "0"}));
}

TEST_F(Te1AlarmsTest, EachRefreshReadsTheAlarmsWithTheLargeBlock) {
  fake::FakeForm& f = open();
  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0)};
  refresh(f);
  refresh(f);
  ASSERT_EQ(driver.requests.size(), 2u);
  for (const auto& r : driver.requests) {
    EXPECT_EQ(r.code, IOCTL_EXEC_CMD_2K);
    EXPECT_EQ(r.in[1], READ_FRONT_END_ALARMS);
    EXPECT_EQ(le::get_u16(r.in, 2), 0);
  }
}

TEST_F(Te1AlarmsTest, FailedReadsKeepWhatIsShown) {
  fake::FakeForm& f = open();
  // Before any good read: dark lights and question marks.
  replies[READ_FRONT_END_ALARMS] = {0x01, AlarmReply(0x0438, {5, 5, 5, 5})};
  refresh(f);
  EXPECT_EQ(lights(f), (std::array{Off, Off, Off, Off}));
  EXPECT_EQ(counters(f), (std::array<std::string, 4>{"?", "?", "?", "?"}));

  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0x0010, {1, 2, 3, 4})};
  refresh(f);
  const auto shown_lights = lights(f);
  const auto shown_counters = counters(f);
  // A card error, then a request that never reached the card after a
  // command that had succeeded: the preset, not the old zero, decides.
  replies[READ_FRONT_END_ALARMS] = {0x01, AlarmReply(0x0438, {9, 9, 9, 9})};
  refresh(f);
  EXPECT_EQ(lights(f), shown_lights);
  EXPECT_EQ(counters(f), shown_counters);
  core->exec().block().setReturnCode(0);
  replies[READ_FRONT_END_ALARMS] = {0, {}, false};
  refresh(f);
  EXPECT_EQ(lights(f), shown_lights);
  EXPECT_EQ(counters(f), shown_counters);
}

TEST_F(Te1AlarmsTest, FlushClearsTheCardsCountersWithoutLookingAtTheAnswer) {
  fake::FakeForm& f = open();
  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0, {7, 7, 7, 7})};
  refresh(f);
  for (uint8_t rc : {uint8_t{0}, uint8_t{0x01}}) {
    driver.requests.clear();
    replies[FLUSH_FRONT_END_COUNTERS] = {rc, {}};
    f.click(W::kFlush);
    ASSERT_EQ(driver.requests.size(), 1u);
    EXPECT_EQ(driver.requests[0].code, IOCTL_EXEC_CMD_2K);
    EXPECT_EQ(driver.requests[0].in[1], FLUSH_FRONT_END_COUNTERS);
    EXPECT_EQ(le::get_u16(driver.requests[0].in, 2), 0);
    EXPECT_EQ(counters(f), (std::array<std::string, 4>{"7", "7", "7", "7"}));
    EXPECT_EQ(prompter.count(), 0u);
  }
  replies[READ_FRONT_END_ALARMS] = {0, AlarmReply(0, {0, 0, 0, 0})};
  refresh(f);
  EXPECT_EQ(counters(f), (std::array<std::string, 4>{"0", "0", "0", "0"}));
}

TEST_F(Te1AlarmsTest, ChoosingItAgainRaisesTheOpenWindow) {
  fake::FakeForm& f = open();
  f.minimize();
  int raised = f.raisedCount();
  host.command(kMenuTe1Alarms);
  EXPECT_FALSE(f.isMinimized());
  EXPECT_EQ(f.raisedCount(), raised + 1);
  EXPECT_EQ(host.windows().size(), 2u);  // the Polling and Device Info window and this one
  f.mouseDown();
  EXPECT_EQ(f.raisedCount(), raised + 2);
}

TEST_F(Te1AlarmsTest, CloseBoxClosesAndTheWindowCanOpenAgain) {
  fake::FakeForm& f = open();
  f.closeBox();
  host.runPosted();
  EXPECT_EQ(host.window("TE1ALARMS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenuTe1Alarms));
  host.command(kMenuTe1Alarms);
  fake::FakeForm& again = window("TE1ALARMS");
  EXPECT_TRUE(host.timerRunning(again, W::kRefreshTimer));
  EXPECT_TRUE(host.isMenuChecked(kMenuTe1Alarms));
}

TEST_F(Te1AlarmsTest, WithoutATimerTheWindowClosesAndIsNotMarkedOpen) {
  connectWith(kFrontEndT1);
  host.timers_available = false;
  host.command(kMenuTe1Alarms);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Couldn't get system timer. Close some other application and try again.");
  EXPECT_EQ(prompter.last().caption, "T1 Status Error");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
  EXPECT_EQ(prompter.last().owner, ui::Owner::None);
  EXPECT_EQ(host.window("TE1ALARMS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenuTe1Alarms));
  // Closing the device finds nothing to close; a later try opens it.
  host.timers_available = true;
  host.command(kMenuTe1Alarms);
  EXPECT_NE(host.window("TE1ALARMS"), nullptr);
}

TEST_F(Te1AlarmsTest, CloseDeviceAndExitCloseIt) {
  open();
  host.command(kMenuCloseDevice);
  EXPECT_EQ(host.window("TE1ALARMS"), nullptr);
  EXPECT_FALSE(host.isMenuChecked(kMenuTe1Alarms));

  host.command(kMenuOpenDevice);
  host.command(kMenuTe1Alarms);
  ASSERT_NE(host.window("TE1ALARMS"), nullptr);
  host.destroyMainWindow();
  host.runPosted();
  // A window without owner is not taken along by the main window: it is
  // closed all the same.
  EXPECT_EQ(host.window("TE1ALARMS"), nullptr);
  EXPECT_EQ(app->Exit(0), 0);
}

}  // namespace
