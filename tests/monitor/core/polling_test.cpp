#include <gtest/gtest.h>

#include "monitor/core/polling_config_dialog.h"
#include "tests/monitor/core/core_fixture.h"

class PollingTest : public CoreTest {
 protected:
  void SetUp() override { writeIni("[Polling]\ntick_interval=1\nuse_system_timer=0\n"); }
  // Link status reads are the trace of ticks reaching the Link Status window.
  size_t linkReads() const {
    auto c = sent();
    return std::count(c.begin(), c.end(), READ_CHDLC_LINK_STATUS);
  }
};

TEST_F(PollingTest, LoopCountingTicksEveryThousandPassesOnlyWhileConnected) {
  start();
  EXPECT_FALSE(host.pollTimerActive());
  EXPECT_TRUE(host.neverWaiting());
  host.loopPasses(5000);
  EXPECT_EQ(core->polling().tickCounter(), 0u);
  openDevice();
  host.command(kMenuLinkStatus);
  host.loopPasses(2999);
  EXPECT_EQ(linkReads(), 2u);
  EXPECT_EQ(core->polling().tickCounter(), 2999u);
  host.loopPasses(1);
  EXPECT_EQ(linkReads(), 3u);
}

TEST_F(PollingTest, SuspensionStopsAutomaticTicksButNotPollNow) {
  start();
  openDevice();
  host.command(kMenuLinkStatus);
  host.command(kMenuSuspendPolling);
  EXPECT_TRUE(host.isMenuChecked(kMenuSuspendPolling));
  host.loopPasses(3000);
  EXPECT_EQ(linkReads(), 0u);
  tick();
  EXPECT_EQ(linkReads(), 1u);
  host.command(kMenuSuspendPolling);
  EXPECT_FALSE(host.isMenuChecked(kMenuSuspendPolling));
  host.loopPasses(1000);
  EXPECT_EQ(linkReads(), 2u);
}

TEST_F(PollingTest, TimerModeWaitsForEventsAndTicksOnEveryTimerMessage) {
  writeIni("[Polling]\ntick_interval_ms=250\n");
  start();
  EXPECT_TRUE(host.pollTimerActive());
  EXPECT_EQ(host.pollTimerPeriod(), 250u);
  EXPECT_FALSE(host.neverWaiting());
  openDevice();
  host.command(kMenuLinkStatus);
  host.loopPasses(100000);
  EXPECT_EQ(linkReads(), 0u);
  host.firePollTimer();
  host.firePollTimer();
  EXPECT_EQ(linkReads(), 2u);
  host.command(kMenuSuspendPolling);
  host.firePollTimer();
  EXPECT_EQ(linkReads(), 2u);
}

TEST_F(PollingTest, TimerThatCannotBeHadFallsBackToLoopCounting) {
  writeIni("");
  host.poll_timer_available = false;
  start();
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text,
            "Unable to install a system timer for polling as requested.  Standard loop counting "
            "will be used during this session.");
  EXPECT_EQ(prompter.last().caption, "Resource Unavailable (Non-Fatal)");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
  EXPECT_TRUE(host.neverWaiting());
}

TEST_F(PollingTest, ConfigDialogShowsTheSettingsInForce) {
  writeIni("[Polling]\ntick_interval=70000\ntick_interval_ms=300\n");
  start();
  host.onModal("CONFIG", [](fake::FakeForm& f) {
    EXPECT_EQ(f.text(102), "65535");
    EXPECT_EQ(f.text(104), "300");
    EXPECT_TRUE(f.isChecked(105));
    EXPECT_EQ(f.text(200), "(Active)");
    f.click(2);
  });
  host.command(kMenuConfigure);
}

struct ConfigCase {
  const char* interval;
  const char* ms;
  bool timer;
  bool accepted;
};

class ConfigRangeTest : public CoreTest, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(ConfigRangeTest, AcceptsOnlyTheRange) {
  const ConfigCase& c = GetParam();
  writeIni("[Polling]\nuse_system_timer=0\n");
  start();
  host.onModal("CONFIG", [&](fake::FakeForm& f) {
    f.type(102, c.interval);
    f.type(104, c.ms);
    if (f.isChecked(105) != c.timer) f.click(105);
    f.click(1);
    if (!f.ended()) f.click(2);
  });
  host.command(kMenuConfigure);
  if (c.accepted) {
    EXPECT_EQ(prompter.count(), 0u);
    EXPECT_EQ(settings->read("Polling", "tick_interval"), c.interval);
    EXPECT_EQ(settings->read("Polling", "tick_interval_ms"), c.ms);
    EXPECT_EQ(settings->read("Polling", "use_system_timer"), c.timer ? "1" : "0");
    EXPECT_EQ(host.pollTimerActive(), c.timer);
  } else {
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, "Polling intervals must be in the range of 1 to 65535!");
    EXPECT_EQ(prompter.last().caption, "Configuration Entry(s) Invalid");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
    EXPECT_EQ(settings->read("Polling", "tick_interval"), std::nullopt);
  }
}

INSTANTIATE_TEST_SUITE_P(Entries, ConfigRangeTest,
                         ::testing::Values(ConfigCase{"0", "100", true, false},
                                           ConfigCase{"20", "0", true, false},
                                           ConfigCase{"20", "0", false, true},
                                           ConfigCase{"65536", "100", true, false},
                                           ConfigCase{"20", "65536", false, false},
                                           ConfigCase{"abc", "100", true, false},
                                           ConfigCase{"65535", "65535", true, true},
                                           ConfigCase{"1", "1", true, true},
                                           ConfigCase{"99999999999999999999", "5", true, false}));

TEST_F(PollingTest, RefusedEntryStillLeavesTimerMode) {
  writeIni("");
  start();
  ASSERT_TRUE(host.pollTimerActive());
  host.onModal("CONFIG", [](fake::FakeForm& f) {
    f.type(102, "0");
    f.click(1);
    EXPECT_FALSE(f.ended());
    f.click(2);
  });
  host.command(kMenuConfigure);
  EXPECT_FALSE(host.pollTimerActive());
  EXPECT_TRUE(host.neverWaiting());
}

TEST(DialogNumberTest, LeadingDigitsSaturating) {
  EXPECT_EQ(DialogNumber("  12x"), 12u);
  EXPECT_EQ(DialogNumber("x12"), 0u);
  EXPECT_EQ(DialogNumber(""), 0u);
  EXPECT_GT(DialogNumber("123456789012345678901234567890"), 65535u);
}
