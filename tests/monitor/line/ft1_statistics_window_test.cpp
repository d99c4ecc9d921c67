#include "monitor/line/ft1_statistics_window.h"

#include <string>

#include "tests/monitor/line/ft1_fixture.h"

namespace {

using W = Ft1StatisticsWindow;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

class Ft1StatisticsTest : public Ft1Test {
 protected:
  fake::FakeForm& open() {
    host.command(kMenuFt1Statistics);
    fake::FakeForm* f = host.window("T1STATS");
    EXPECT_NE(f, nullptr);
    return *f;
  }
  void unitReports(const std::string& line) { queue[READ_FT1_OPERATIONAL_STATS].push_back({0, Bytes(line)}); }
};

TEST_F(Ft1StatisticsTest, OpeningSwitchesReportingOnTwice) {
  fake::FakeForm& f = open();
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x02, 0x02}));
  EXPECT_EQ(host.kindOf(f), ui::WindowKind::MdiChild);
  EXPECT_EQ(f.title(), "FT1 Operational Statistics");
  EXPECT_FALSE(host.isMenuEnabled(kMenuFt1Statistics));
  EXPECT_EQ(host.timerPeriod(f, W::kRefreshTimer), 100u);
  EXPECT_EQ(f.listCount(W::kList), 0);
}

TEST_F(Ft1StatisticsTest, RefusedOpeningShowsItsMessageAndOpensNothing) {
  const char* caption = "T1 Operational \\ Err Statistcs Window";
  struct Case {
    uint8_t rc;
    const char* text;
    ui::Icon icon;
  };
  const Case cases[] = {
      {RC_NO_FT1_ADAPTER,
       "T1 Operational and Error Statistics Window can not be opened because the monitor is not connected to "
       "VR20/FT-1 or VR40/FT-1 adapter.",
       ui::Icon::Error},
      {RC_REMOTE_DRIVER, "Cannot Enable T1 Operational and Error Statistics Monitor on Remote Driver",
       ui::Icon::Warning},
      {RC_FT1_TX_BUSY, "The T1 asynchronous transmit buffer is currently occupied. Please repeat the command",
       ui::Icon::Warning},
      {0x42, "T1 Operational and Error Statistics Window can not be opened.", ui::Icon::Error},
  };
  for (const Case& c : cases) {
    prompter.clear();
    driver.requests.clear();
    replies[SET_FT1_MONITOR_FLAGS] = {c.rc};
    host.command(kMenuFt1Statistics);
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, c.text);
    EXPECT_EQ(prompter.last().caption, caption);
    EXPECT_EQ(prompter.last().icon, c.icon);
    EXPECT_EQ(host.window("T1STATS"), nullptr);
    EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Statistics));
    EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x02}));
  }
}

TEST_F(Ft1StatisticsTest, EachReplyBecomesARowWithASpaceForItsFirstCharacter) {
  fake::FakeForm& f = open();
  unitReports("\n 00:15   1   0   0   0   0   0");
  unitReports("X12:00   2   3");
  queue[READ_FT1_OPERATIONAL_STATS].push_back({0, {}});
  fire(f, W::kRefreshTimer, 3);
  EXPECT_EQ(f.lines(W::kList), (std::vector<std::string>{"  00:15   1   0   0   0   0   0", " 12:00   2   3"}));
  EXPECT_EQ(f.listSelection(W::kList), 1);
  EXPECT_EQ(ft1().statisticsWindow()->rowCount(), 2);
  auto reads = requestsOf(READ_FT1_OPERATIONAL_STATS);
  ASSERT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads[0].code, IOCTL_EXEC_CMD);
}

TEST_F(Ft1StatisticsTest, RowsAreCutAndNeverEndedInTheSharedBlock) {
  const std::string long_line(300, 'x');
  EXPECT_EQ(W::RowText(long_line), " " + std::string(198, 'x'));
  EXPECT_EQ(W::RowText(std::string("ab\0cd", 5)), " b");
  EXPECT_EQ(W::RowText({}), "");

  fake::FakeForm& f = open();
  core->exec().block().data()[5] = 0x77;
  unitReports("12345");
  fire(f);
  EXPECT_EQ(f.lines(W::kList), (std::vector<std::string>{" 2345"}));
  EXPECT_EQ(core->exec().block().data()[5], 0x77);
}

TEST_F(Ft1StatisticsTest, AReplyLengthPastTheRequestIsBounded) {
  fake::FakeForm& f = open();
  auto answer = driver.answer;
  driver.answer = [answer](const fake::Request& r, uint8_t* out, size_t out_len) {
    bool ok = answer(r, out, out_len);
    if (r.in[1] == READ_FT1_OPERATIONAL_STATS) out[2] = out[3] = 0xFF;
    return ok;
  };
  unitReports(std::string(1000, 'y'));
  fire(f);
  EXPECT_EQ(f.lines(W::kList), (std::vector<std::string>{" " + std::string(198, 'y')}));
}

TEST_F(Ft1StatisticsTest, TheHundredAndFirstRowPushesTheFirstOut) {
  fake::FakeForm& f = open();
  for (int i = 1; i <= 101; ++i) unitReports("#row " + std::to_string(i));
  fire(f, W::kRefreshTimer, 101);
  auto lines = f.lines(W::kList);
  ASSERT_EQ(lines.size(), 100u);
  EXPECT_EQ(lines.front(), " row 2");
  EXPECT_EQ(lines.back(), " row 101");
  EXPECT_EQ(f.listSelection(W::kList), 99);
  EXPECT_EQ(ft1().statisticsWindow()->rowCount(), 100);
}

TEST_F(Ft1StatisticsTest, ReportingSwitchedOffIsSwitchedOnAgain) {
  fake::FakeForm& f = open();
  driver.requests.clear();
  queue[READ_FT1_OPERATIONAL_STATS] = {{RC_FT1_STATS_OFF}, {0x42}, {RC_PRESET_TIMEOUT, {}, false}};
  int raised = f.raisedCount();
  fire(f, W::kRefreshTimer, 3);
  EXPECT_EQ(f.listCount(W::kList), 0);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x02}));
  EXPECT_EQ(f.raisedCount(), raised);  // a refresh never takes the focus from another window
}

TEST_F(Ft1StatisticsTest, FlushSwitchesReportingOffAndOnAgain) {
  fake::FakeForm& f = open();
  unitReports("!kept");
  fire(f);
  driver.requests.clear();
  f.click(W::kFlush);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x04, 0x02}));
  EXPECT_EQ(count(READ_FT1_OPERATIONAL_STATS), 0u);
  EXPECT_EQ(f.lines(W::kList), (std::vector<std::string>{" kept"}));
  EXPECT_EQ(prompter.count(), 0u);
}

TEST_F(Ft1StatisticsTest, FlushAgainstARefusingUnitGivesUpSilently) {
  fake::FakeForm& f = open();
  driver.requests.clear();
  replies[SET_FT1_MONITOR_FLAGS] = {RC_FT1_TX_BUSY};
  f.click(W::kFlush);
  auto flags = flagBytes();
  ASSERT_EQ(flags.size(), 10000u);
  EXPECT_EQ(std::count(flags.begin(), flags.begin() + 5000, 0x04), 5000);
  EXPECT_EQ(std::count(flags.begin() + 5000, flags.end(), 0x02), 5000);
  EXPECT_EQ(prompter.count(), 0u);
  replies.erase(SET_FT1_MONITOR_FLAGS);
  unitReports("!after");
  fire(f);
  EXPECT_EQ(f.listCount(W::kList), 1);  // flushing is over: reads go on
}

TEST_F(Ft1StatisticsTest, BothClosePathsSwitchReportingOff) {
  const std::function<void(fake::FakeForm&)> closers[] = {
      [](fake::FakeForm& f) { f.click(W::kClose); },
      [](fake::FakeForm& f) { f.closeBox(); },
  };
  for (const auto& close : closers) {
    driver.requests.clear();
    fake::FakeForm& f = open();
    close(f);
    host.runPosted();
    EXPECT_EQ(host.window("T1STATS"), nullptr);
    EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x02, 0x02, 0x00}));
    EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Statistics));
  }
}

TEST_F(Ft1StatisticsTest, ItOutlivesTheConnectionWithItsItemGrey) {
  fake::FakeForm& f = open();
  closeDevice();
  ASSERT_NE(host.window("T1STATS"), nullptr);
  driver.requests.clear();
  fire(f, W::kRefreshTimer, 3);
  EXPECT_TRUE(driver.requests.empty());  // the handle is gone: every read fails before the driver
  EXPECT_EQ(f.listCount(W::kList), 0);

  host.command(kMenuOpenDevice);
  EXPECT_FALSE(host.isMenuEnabled(kMenuFt1Statistics));
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Status));
  unitReports("!again");
  fire(f);
  EXPECT_EQ(f.listCount(W::kList), 1);
  f.click(W::kClose);
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Statistics));
}

TEST_F(Ft1StatisticsTest, ClosedWhileDisconnectedItsItemStaysGrey) {
  fake::FakeForm& f = open();
  closeDevice();
  f.click(W::kClose);
  EXPECT_FALSE(host.isMenuEnabled(kMenuFt1Statistics));
}

TEST_F(Ft1StatisticsTest, WithoutATimerTheWindowClosesThroughItsClosePath) {
  host.timers_available = false;
  host.command(kMenuFt1Statistics);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Couldn't get system timer. Close some other application and try again.");
  EXPECT_EQ(prompter.last().caption, "T1 Status Error");
  EXPECT_EQ(prompter.last().owner, ui::Owner::None);
  host.runPosted();
  EXPECT_EQ(host.window("T1STATS"), nullptr);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x02, 0x00}));
  EXPECT_TRUE(host.isMenuEnabled(kMenuFt1Statistics));
}

TEST_F(Ft1StatisticsTest, TheMainWindowGoingDestroysIt) {
  fake::FakeForm& f = open();
  host.destroyMainWindow();
  EXPECT_EQ(host.window("T1STATS"), nullptr);
  EXPECT_FALSE(host.timerRunning(f, W::kRefreshTimer));
  host.runPosted();
}

TEST_F(Ft1StatisticsTest, TheFlagByteCarriesBothWindowsBitsInOrder) {
  fake::FakeForm& status = *(host.command(kMenuFt1Status), host.window("T1STATUS"));
  fake::FakeForm& stats = open();
  stats.click(W::kFlush);
  status.closeBox();
  replies[READ_FT1_OPERATIONAL_STATS] = {RC_FT1_STATS_OFF};
  fire(stats);
  stats.click(W::kClose);
  EXPECT_EQ(flagBytes(), (std::vector<uint8_t>{0x01, 0x03, 0x03, 0x05, 0x03, 0x02, 0x02, 0x00}));
}

}  // namespace
