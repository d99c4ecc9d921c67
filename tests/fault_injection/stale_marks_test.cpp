// The stale mark over a real talvcard: on while the card leaves the polls
// unanswered or the daemon is gone, one notice for each outage, off again
// once answers come back.

#include <algorithm>

#include "monitor/core/menu_ids.h"
#include "tests/fault_injection/monitor_fixture.h"

namespace faults {
namespace {

constexpr const char* kPolledWindows[] = {"LSTAT", "OPSTATS", "COMES", "MODEMS"};

class StaleMarksTest : public MonitorOverDaemon {
 protected:
  void SetUp() override {
    connect("TALVSTRM1");
    app_->core().staleNotice().time_of_day = [] { return std::string("10:32:05"); };
    host_.command(kMenuOpenAll);
    tick();
  }
  void tick() { host_.command(kMenuPollNow); }
  int staleWindows() {
    return static_cast<int>(std::count_if(std::begin(kPolledWindows), std::end(kPolledWindows),
                                          [&](const char* name) { return window(name).isStale(); }));
  }
  std::string notice() { return host_.statusText(ui::StatusField::Device); }
  long notices() {
    const auto& shown = host_.status_history[ui::StatusField::Device];
    return std::count(shown.begin(), shown.end(), "TALVSTRM1 not answering since 10:32:05");
  }
};

TEST_F(StaleMarksTest, MarkFollowsTheCardAndTheDaemon) {
  EXPECT_EQ(staleWindows(), 0);
  EXPECT_EQ(notice(), "");

  // The card stops answering, then answers again.
  for (const char* command : {"0x26", "0x27", "0x08", "0x04", "0x07"})
    ctl(std::string("noanswer TALVSTRM1 ") + command + " preset");
  for (int i = 0; i < 4; ++i) tick();
  EXPECT_EQ(staleWindows(), 4);
  EXPECT_EQ(notice(), "TALVSTRM1 not answering since 10:32:05");
  EXPECT_EQ(notices(), 1);
  ctl("clear TALVSTRM1");
  tick();
  EXPECT_EQ(staleWindows(), 0);
  EXPECT_EQ(notice(), "");

  // The daemon goes away: one more notice, however many ticks fail.
  killDaemon();
  for (int i = 0; i < 5; ++i) tick();
  EXPECT_EQ(staleWindows(), 4);
  EXPECT_EQ(notices(), 2);
  EXPECT_EQ(prompter_.count(), 0u);

  // Back again: the connection opened anew answers and the mark goes.
  startDaemon();
  host_.command(kMenuCloseDevice);
  host_.runPosted();
  EXPECT_EQ(notice(), "");
  host_.command(kMenuOpenDevice);
  ASSERT_TRUE(app_->core().connection().connected());
  host_.command(kMenuOpenAll);
  tick();
  EXPECT_EQ(staleWindows(), 0);
  EXPECT_EQ(notice(), "");
}

}  // namespace
}  // namespace faults
