// The FT1 items belong to the run's detection, not to the device: after a
// configuration of a card with an FT1 unit, another card without one can be
// opened and every FT1 window must cope with its refusals.

#include "tests/monitor/line/ft1_fixture.h"

namespace {

class Ft1NoUnitTest : public Ft1Test {
 protected:
  void SetUp() override {
    Ft1Test::SetUp();
    closeDevice();
    core->connection().setDeviceName("TALVSTRM1");
    auto answer = driver.answer;
    // The second card has no FT1 unit: it refuses every FT1 command.
    driver.answer = [answer](const fake::Request& r, uint8_t* out, size_t out_len) {
      if (!answer(r, out, out_len)) return false;
      if (r.code == IOCTL_EXEC_CMD && r.in[1] >= SET_FT1_CONFIGURATION && r.in[1] <= FT1_SELECT)
        out[4] = RC_NO_FT1_ADAPTER;
      if (r.code == IOCTL_EXEC_CMD_2K && r.in[1] == READ_FT1_STATUS) out[4] = RC_NO_FT1_ADAPTER;
      return true;
    };
    host.command(kMenuOpenDevice);
    prompter.clear();
  }
};

TEST_F(Ft1NoUnitTest, EveryFt1ItemIsOfferedAndEachReportsTheMissingUnit) {
  struct Case {
    int item;
    const char* caption;
    const char* text_start;
  };
  const Case cases[] = {
      {kMenuFt1Status, "T1 Status Window", "T1 Status Window can not be opened because"},
      {kMenuFt1Statistics, "T1 Operational \\ Err Statistcs Window",
       "T1 Operational and Error Statistics Window can not be opened because"},
      {kMenuFt1Configuration, "Read T1 Configuration", "The command failed because the monitor is not connected"},
      {kMenuAdvancedFt1, "Set T1 Configuration", "Advanced T1 Configuration Window can not be opened because"},
  };
  for (const Case& c : cases) {
    prompter.clear();
    ASSERT_TRUE(host.isMenuEnabled(c.item)) << c.item;
    host.command(c.item);
    host.runPosted();
    ASSERT_EQ(prompter.count(), 1u) << c.item;
    EXPECT_EQ(prompter.last().caption, c.caption);
    EXPECT_EQ(prompter.last().text.rfind(c.text_start, 0), 0u) << prompter.last().text;
    EXPECT_TRUE(host.isMenuEnabled(c.item)) << c.item;
  }
  for (const char* name : {"T1STATUS", "T1STATS", "ADVANCED_FT1_CONFIG"}) EXPECT_EQ(host.window(name), nullptr);
  // The failed enables are kept in the run's copy of the flags.
  EXPECT_EQ(ft1().monitorFlags().value(), FT1_STATUS_MONITOR | FT1_STATISTICS_MONITOR);
}

}  // namespace
