// The FT1 windows against the simulated unit: every light state and every
// text reached by SELECT and line events, statistics switched off behind
// the window's back, the unit's verdicts, its menu and a busy buffer.

#include <set>

#include "driver_if/mailbox.h"
#include "monitor/line/ft1_config_dialog.h"
#include "monitor/line/ft1_utilities.h"
#include "tests/monitor/line/ft1_sim_fixture.h"

namespace {

using cardsim::Ft1Line;
using ui::LightColour;

class Ft1SimulatorTest : public Ft1SimTest {
 protected:
  void SetUp() override { startConfigured(); }

  // Ticks the status window, noting every text shown and every light colour.
  void watch(fake::FakeForm& f, int ticks) {
    for (int i = 0; i < ticks; ++i) {
      fire(f);
      texts.insert(app->ft1Utilities().statusWindow()->textIndex());
      for (int id = 1045; id <= 1052; ++id) lights.insert({id, f.light(id)});
    }
  }
  void line(Ft1Line l) {
    onUnit([l](cardsim::Ft1Unit& u) { u.setLine(l); });
  }
  int text() { return app->ft1Utilities().statusWindow()->textIndex(); }

  std::set<int> texts;
  std::set<std::pair<int, LightColour>> lights;
};

TEST_F(Ft1SimulatorTest, SelectAndLineEventsShowEveryLightAndEveryText) {
  host.command(kMenuFt1Status);
  fake::FakeForm& f = window("T1STATUS");
  auto select = [&] { f.click(Ft1StatusWindow::kSelect); };

  watch(f, 24);
  EXPECT_EQ(text(), 11);  // powered up, no remote end yet
  watch(f, 40);
  EXPECT_EQ(text(), 10);  // the line came up by itself

  select();
  watch(f, 40);
  EXPECT_EQ(text(), 1);
  watch(f, 40);
  EXPECT_EQ(text(), 2);

  select();
  watch(f, 24);
  EXPECT_EQ(text(), 4);
  line(Ft1Line::kDown);
  watch(f, 24);
  EXPECT_EQ(text(), 3);

  select();
  watch(f, 40);
  EXPECT_EQ(text(), 5);  // the loop cannot settle without a line
  line(Ft1Line::kUp);
  watch(f, 48);
  EXPECT_EQ(text(), 6);

  select();
  watch(f, 24);
  EXPECT_EQ(text(), 7);
  watch(f, 32);
  EXPECT_EQ(text(), 8);

  select();
  line(Ft1Line::kRemoteTest);
  watch(f, 24);
  EXPECT_EQ(text(), 9);

  select();  // a self test while the remote end tests: no condition holds
  watch(f, 24);
  EXPECT_EQ(text(), 0);
  EXPECT_EQ(f.text(Ft1StatusWindow::kText), "");

  EXPECT_EQ(texts.size(), 12u);
  const LightColour O = LightColour::Off, G = LightColour::Green, R = LightColour::Red;
  const std::set<std::pair<int, LightColour>> every = {
      {1045, O}, {1045, G}, {1045, R}, {1046, O}, {1046, G}, {1046, R}, {1047, O}, {1047, G},
      {1048, O}, {1048, G}, {1049, O}, {1049, G}, {1049, R}, {1050, O}, {1050, R}, {1051, O},
      {1051, R}, {1052, O}, {1052, G}, {1052, R},
  };
  EXPECT_EQ(lights, every);
}

TEST_F(Ft1SimulatorTest, StatisticsSwitchedOffBehindTheWindowsBackComeBack) {
  host.command(kMenuFt1Statistics);
  fake::FakeForm& f = window("T1STATS");
  fire(f, 20);
  EXPECT_EQ(f.lines(Ft1StatisticsWindow::kList),
            (std::vector<std::string>{" 00:01   1   0   1   1   1   0", " 00:02   2   0   2   2   2   0"}));

  onUnit([](cardsim::Ft1Unit& u) { u.switchStatisticsOff(); });
  fire(f);  // answered RC_FT1_STATS_OFF: reporting is switched on again
  onUnit([](cardsim::Ft1Unit& u) { EXPECT_EQ(u.monitorFlags(), cardsim::Ft1Unit::kStatisticsMonitor); });
  fire(f, 10);
  EXPECT_EQ(f.listCount(Ft1StatisticsWindow::kList), 3);

  f.click(Ft1StatisticsWindow::kFlush);
  fire(f, 10);
  EXPECT_EQ(f.lines(Ft1StatisticsWindow::kList).back().substr(0, 6), " 00:01");
  EXPECT_EQ(f.listCount(Ft1StatisticsWindow::kList), 4);

  // Reporting holds the unit's channel: its configuration cannot be read meanwhile.
  host.command(kMenuFt1Configuration);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().caption, "Read T1 Configuration");
  EXPECT_EQ(prompter.last().text.substr(0, 46), "The FT1 configuration was not read from the CS");
}

TEST_F(Ft1SimulatorTest, TheUnitJudgesTheConfigurationItIsSent) {
  using D = Ft1ConfigDialog;
  host.onModal("FT1_CONFIG", [&](fake::FakeForm& f) {
    EXPECT_TRUE(f.isChecked(D::kEsf));
    EXPECT_EQ(f.text(D::kBaudRate), "1536");
    struct Step {
      const char* base;
      const char* rate;
      const char* text;
    };
    const Step steps[] = {
        {"1", "1000", "The selected FT1 baud rate is invalid for the encoding mode"},
        {"20", "512", "The defined channnel base is invalid"},
        {"65600", "512", "The defined channnel base is invalid"},
        {"17", "512", "The command was performed successfuly."},
    };
    for (const Step& s : steps) {
      f.type(D::kChannelBase, s.base);
      f.type(D::kBaudRate, s.rate);
      f.click(D::kSet);
      EXPECT_EQ(prompter.last().text, s.text) << s.base << " " << s.rate;
    }
    f.click(D::kClose);
  });
  host.command(kMenuFt1Configuration);
  onUnit([](cardsim::Ft1Unit& u) {
    EXPECT_EQ(u.configuration(), (Ft1Configuration{.channel_base = 17, .baud_rate = 512}));
  });
}

TEST_F(Ft1SimulatorTest, TheTerminalShowsTheUnitsMenuAndRidesOutABusyBuffer) {
  host.command(kMenuAdvancedFt1);
  fake::FakeForm& f = window("ADVANCED_FT1_CONFIG");
  fire(f, 10);
  auto lines = f.lines(Ft1TerminalWindow::kList);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0], "TALVORA FT-1 CSU/DSU");
  EXPECT_EQ(lines.back(), "Select: ");

  onUnit([](cardsim::Ft1Unit& u) { u.makeBusy(5); });
  f.typeChar('5');
  EXPECT_EQ(prompter.count(), 0u);
  fire(f, 10);
  lines = f.lines(Ft1TerminalWindow::kList);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Line: DOWN"), lines.end());

  onUnit([](cardsim::Ft1Unit& u) { u.makeBusy(21); });
  f.typeChar('2');
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Data can not be transmitted to T1 board. Please contact Talvora technical support.");
  fire(f, 10);
  EXPECT_EQ(f.lines(Ft1TerminalWindow::kList), lines);  // the character was lost
}

TEST_F(Ft1SimulatorTest, ReturnCodesScriptedOnTheCardReachEveryWindow) {
  cardsim::Faults& faults = simulator.card(0)->faults();
  auto last = [&] { return prompter.count() == 0 ? std::string() : prompter.last().text; };

  faults.forceReturnCode(SET_FT1_MONITOR_FLAGS, RC_FT1_TX_BUSY, 1);
  host.command(kMenuFt1Status);
  EXPECT_EQ(last(), "The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command");
  faults.forceReturnCode(SET_FT1_MONITOR_FLAGS, RC_REMOTE_DRIVER, 1);
  host.command(kMenuFt1Statistics);
  EXPECT_EQ(last(), "Cannot Enable T1 Operational and Error Statistics Monitor on Remote Driver");
  faults.leaveUnanswered(SEND_FT1_CHARACTER, cardsim::NoAnswer::kKeepPreset, 1);
  host.command(kMenuAdvancedFt1);
  host.runPosted();
  EXPECT_EQ(last(), "Cannot perform the command on Remote Driver.");
  EXPECT_EQ(host.window("ADVANCED_FT1_CONFIG"), nullptr);

  host.onModal("FT1_CONFIG", [&](fake::FakeForm& f) {
    faults.forceReturnCode(SET_FT1_CONFIGURATION, 0x42, 1);
    f.click(Ft1ConfigDialog::kSet);
    EXPECT_EQ(last(), "Cannot perform the command on Remote Driver (0x42)");
    faults.leaveUnanswered(SET_FT1_CONFIGURATION, cardsim::NoAnswer::kKeepPreset, 1);
    f.click(Ft1ConfigDialog::kSet);
    EXPECT_EQ(last(), "Cannot perform the command on Remote Driver (0xAA)");
    f.click(Ft1ConfigDialog::kClose);
  });
  host.command(kMenuFt1Configuration);

  host.command(kMenuFt1Status);
  faults.forceReturnCode(FT1_SELECT, RC_NO_FT1_ADAPTER, 9);
  window("T1STATUS").click(Ft1StatusWindow::kSelect);
  EXPECT_EQ(last(), "Cannot perform the command on Remote Driver (0xAA)");  // the tenth attempt went through
  onUnit([](cardsim::Ft1Unit& u) { EXPECT_EQ(u.mode(), cardsim::Ft1TestMode::kSelfTest); });
  faults.forceReturnCode(FT1_SELECT, RC_NO_FT1_ADAPTER, 10);
  window("T1STATUS").click(Ft1StatusWindow::kSelect);
  EXPECT_EQ(last(), "Couldn't perform SELECT. Try again");
}

// Detection belongs to the run: a card without a unit opened after one with it.
TEST_F(Ft1SimulatorTest, ACardWithoutTheUnitRefusesEveryWindow) {
  host.command(kMenuCloseDevice);
  simulator.card(1)->withState([](cardsim::CardState& s) {
    std::array<uint8_t, StreamingConfig::kSize> image{};
    StreamingConfig{}.Write(image);
    s.config = image;
  });
  app->core().connection().setDeviceName("TALVSTRM1");
  host.command(kMenuOpenDevice);
  ASSERT_TRUE(app->core().connection().connected());
  const std::pair<int, const char*> cases[] = {
      {kMenuFt1Status, "T1 Status Window"},
      {kMenuFt1Statistics, "T1 Operational \\ Err Statistcs Window"},
      {kMenuFt1Configuration, "Read T1 Configuration"},
      {kMenuAdvancedFt1, "Set T1 Configuration"},
  };
  for (auto [item, caption] : cases) {
    prompter.clear();
    host.command(item);
    host.runPosted();
    ASSERT_EQ(prompter.count(), 1u) << item;
    EXPECT_EQ(prompter.last().caption, caption);
    EXPECT_NE(prompter.last().text.find("not connected to VR20/FT-1 or VR40/FT-1 adapter."), std::string::npos);
  }
  EXPECT_TRUE(host.windows().size() == 1u);  // only the Polling and Device Info window
}

}  // namespace
