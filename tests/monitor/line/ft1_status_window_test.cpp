#include "monitor/line/ft1_status_window.h"

#include "tests/monitor/line/ft1_fixture.h"

namespace {

using W = Ft1StatusWindow;
using ui::LightColour;

class Ft1StatusTest : public Ft1Test {
 protected:
  fake::FakeForm& open() {
    host.command(kMenuFt1Status);
    fake::FakeForm* f = host.window("T1STATUS");
    EXPECT_NE(f, nullptr);
    return *f;
  }
  // The unit answers every status read with these bytes from now on.
  void unitShows(uint8_t a, uint8_t b) { replies[READ_FT1_STATUS] = {0, {a, b}}; }
  static constexpr uint8_t kNormalB = 0xDF;  // INS green, nothing else lit
};

TEST_F(Ft1StatusTest, OpeningSetsTheStatusFlagAndStartsTheTimer) {
  fake::FakeForm& f = open();
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x01}));
  EXPECT_EQ(host.kindOf(f), ui::WindowKind::TopLevel);
  EXPECT_EQ(f.title(), "Talvora VR20/VR40 FT-1 Status Window");
  EXPECT_FALSE(host.isMenuEnabled(kMenuFt1Status));
  EXPECT_EQ(host.timerPeriod(f, W::kRefreshTimer), 100u);
  EXPECT_TRUE(f.isEnabled(W::kPoll));
  EXPECT_GE(f.raisedCount(), 1);
  for (int id = 1045; id <= 1052; ++id) EXPECT_EQ(f.light(id), LightColour::Off);
  EXPECT_EQ(f.text(W::kText), "");
}

TEST_F(Ft1StatusTest, RefusedOpeningShowsItsMessageAndKeepsTheFlag) {
  struct Case {
    uint8_t rc;
    const char* text;
    const char* caption;
    ui::Icon icon;
  };
  const Case cases[] = {
      {RC_NO_FT1_ADAPTER,
       "T1 Status Window can not be opened because the monitor is not connected to VR20/FT-1 or VR40/FT-1 adapter.",
       "T1 Status Window", ui::Icon::Error},
      {RC_REMOTE_DRIVER, "Cannot Enable T1 Status Monitor on Remote Driver", "Line Tracing", ui::Icon::Warning},
      {RC_FT1_TX_BUSY, "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command",
       "Line Tracing", ui::Icon::Warning},
      {0x55, "T1 Status Window can not be opened.", "T1 Status Window", ui::Icon::Error},
      {RC_PRESET_TIMEOUT, "T1 Status Window can not be opened.", "T1 Status Window", ui::Icon::Error},
  };
  for (const Case& c : cases) {
    prompter.clear();
    replies[SET_FT1_MONITOR_FLAGS] = {c.rc, {}, c.rc != RC_PRESET_TIMEOUT};
    host.command(kMenuFt1Status);
    ASSERT_EQ(prompter.count(), 1u) << int(c.rc);
    EXPECT_EQ(prompter.last().text, c.text);
    EXPECT_EQ(prompter.last().caption, c.caption);
    EXPECT_EQ(prompter.last().icon, c.icon);
    EXPECT_EQ(prompter.last().owner, ui::Owner::MainWindow);
    EXPECT_EQ(host.window("T1STATUS"), nullptr);
    EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Status));
    EXPECT_EQ(ft1().monitorFlags().value(), FT1_STATUS_MONITOR);
  }
}

TEST_F(Ft1StatusTest, TicksShowTheLightsAndToggleThePollControl) {
  fake::FakeForm& f = open();
  unitShows(0xFA, 0x86);  // A: LL and RT red; B: both INS bits, ERR red, RXD green, ST green
  fire(f);
  EXPECT_TRUE(f.isChecked(W::kPoll));
  const LightColour shown[] = {LightColour::Green, LightColour::Red, LightColour::Off, LightColour::Green,
                               LightColour::Green, LightColour::Off, LightColour::Red, LightColour::Red};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f.light(1045 + i), shown[i]) << i;
  auto reads = requestsOf(READ_FT1_STATUS);
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].code, IOCTL_EXEC_CMD_2K);
  EXPECT_EQ(le::get_u16(reads[0].in, 2), 0);

  replies[READ_FT1_STATUS] = {RC_NO_FT1_ADAPTER, {0xFF, 0xFF}};
  fire(f);
  EXPECT_FALSE(f.isChecked(W::kPoll));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f.light(1045 + i), shown[i]) << "kept after a failed read " << i;
}

TEST_F(Ft1StatusTest, NormalConditionShowsFromTheSecondPeriodOnEveryOpening) {
  unitShows(0xFF, kNormalB);
  for (int opening = 0; opening < 2; ++opening) {
    fake::FakeForm& f = open();
    fire(f, W::kRefreshTimer, 8);
    EXPECT_EQ(f.text(W::kText), "") << opening;
    fire(f, W::kRefreshTimer, 7);
    EXPECT_EQ(f.text(W::kText), "") << "decided only every 8th tick";
    fire(f);
    EXPECT_EQ(f.text(W::kText), Ft1StatusText(10));
    EXPECT_EQ(ft1().statusWindow()->textIndex(), 10);
    f.closeBox();
  }
}

TEST_F(Ft1StatusTest, TheTextAreaIsRewrittenOnlyWhenTheTextChanges) {
  unitShows(0xFF, kNormalB);
  fake::FakeForm& f = open();
  fire(f, W::kRefreshTimer, 16);
  ASSERT_EQ(f.text(W::kText), Ft1StatusText(10));
  f.setText(W::kText, "marker");
  fire(f, W::kRefreshTimer, 8);
  EXPECT_EQ(f.text(W::kText), "marker");
  unitShows(0xFF, 0xFF);  // line down: INS goes off
  fire(f, W::kRefreshTimer, 8);
  EXPECT_EQ(f.text(W::kText), "");
}

TEST_F(Ft1StatusTest, SelectRetriesUpToTenTimesThenTellsTheUser) {
  fake::FakeForm& f = open();
  f.click(W::kSelect);
  EXPECT_EQ(count(FT1_SELECT), 1u);
  EXPECT_EQ(prompter.count(), 0u);

  driver.requests.clear();
  queue[FT1_SELECT] = {{0x0B}, {0x06}};
  f.click(W::kSelect);
  EXPECT_EQ(count(FT1_SELECT), 3u);
  EXPECT_EQ(prompter.count(), 0u);

  driver.requests.clear();
  replies[FT1_SELECT] = {RC_NO_FT1_ADAPTER};
  f.click(W::kSelect);
  EXPECT_EQ(count(FT1_SELECT), 10u);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Couldn't perform SELECT. Try again");
  EXPECT_EQ(prompter.last().caption, "T1 Status Error");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
  EXPECT_EQ(prompter.last().owner, ui::Owner::None);
  EXPECT_NE(host.window("T1STATUS"), nullptr);
  EXPECT_EQ(requestsOf(FT1_SELECT)[0].code, IOCTL_EXEC_CMD);
}

TEST_F(Ft1StatusTest, EveryClosePathClearsTheFlagAndGivesTheItemBack) {
  const std::function<void(fake::FakeForm&)> closers[] = {
      [](fake::FakeForm& f) { f.closeBox(); },
      // Enter presses the hidden default button.
      [](fake::FakeForm& f) { f.pressEnter(); },
      [this](fake::FakeForm& f) { host.postCloseRequest(f); host.runPosted(); },
  };
  for (const auto& close : closers) {
    driver.requests.clear();
    fake::FakeForm& f = open();
    close(f);
    EXPECT_EQ(host.window("T1STATUS"), nullptr);
    EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x01, 0x00}));
    EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Status));
    EXPECT_EQ(ft1().statusWindow(), nullptr);
  }
}

TEST_F(Ft1StatusTest, CloseDeviceClosesItWhileTheHandleIsStillOpen) {
  open();
  closeDevice();
  EXPECT_EQ(host.window("T1STATUS"), nullptr);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x01, 0x00}));
  EXPECT_FALSE(host.isMenuEnabled(kMenuFt1Status));
  host.runPosted();
  host.command(kMenuOpenDevice);
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Status));
}

TEST_F(Ft1StatusTest, WithoutATimerTheWindowClosesThroughItsClosePath) {
  host.timers_available = false;
  host.command(kMenuFt1Status);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Couldn't get system timer. Close some other application and try again.");
  EXPECT_EQ(prompter.last().caption, "T1 Status Error");
  EXPECT_EQ(prompter.last().owner, ui::Owner::None);
  host.runPosted();
  EXPECT_EQ(host.window("T1STATUS"), nullptr);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x01, 0x00}));
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Status));
}

TEST_F(Ft1StatusTest, TheMainWindowGoingClosesIt) {
  open();
  host.destroyMainWindow();
  EXPECT_EQ(host.window("T1STATUS"), nullptr);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x01, 0x00}));
  host.runPosted();
}

TEST_F(Ft1StatusTest, AClickRaisesIt) {
  fake::FakeForm& f = open();
  int before = f.raisedCount();
  f.mouseDown();
  EXPECT_EQ(f.raisedCount(), before + 1);
}

}  // namespace
