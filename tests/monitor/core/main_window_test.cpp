#include <gtest/gtest.h>

#include "tests/monitor/core/core_fixture.h"

class MainWindowTest : public CoreTest {
 protected:
  void SetUp() override { writeIni("[Polling]\nuse_system_timer=0\n"); }
};

TEST_F(MainWindowTest, MenuHasEveryItemWithItsText) {
  start();
  const std::pair<int, const char*> items[] = {
      {1, "&Select Device..."}, {10, "&Configure..."}, {32, "Configure &Device"},
      {30, "&Open Device"}, {31, "Cl&ose Device"}, {2, "&About..."}, {101, "E&xit"},
      {102, "&Link Status"}, {105, "&Operational Statistics"}, {108, "&Comm Error Statistics"},
      {110, "&Modem Status"}, {40002, "&Streaming"}, {40003, "&Enable Communications"},
      {40004, "&Disable Communications"}, {40006, "Set &Modem Status"}, {40008, "&Send Frames..."},
      {103, "&Polling and Device Info"}, {9, "&Poll Now to Update Windows"},
      {11, "&Suspend Automatic Polling"}, {3, "&Open All"}, {104, "&Arrange Icons"},
      {107, "&Minimize All"}, {4, "&Auto Arrange on &Resize"}, {40015, "&FT1 Status Monitor"},
      {40016, "&Operational\\Error Statistics"}, {40017, "&Read\\Set T1 Configuration"},
      {40018, "&Advanced T1 Configuration"}, {40011, "TE1 Alarms"}, {40012, "TE1 Tests"},
      {40013, "56K Status Monitor"}, {40014, "Read Redister"}, {40019, "&Memory Dump"}};
  for (const auto& [id, text] : items) EXPECT_EQ(host.menuText(id), text) << id;
}

TEST_F(MainWindowTest, AutoArrangeToggleIsWrittenAndFollowedOnRestore) {
  start();
  host.restoreMainWindow();
  EXPECT_EQ(host.arrange_count, 1);
  host.command(kMenuAutoArrange);
  EXPECT_FALSE(host.isMenuChecked(kMenuAutoArrange));
  EXPECT_EQ(settings->read("Options", "auto_arrange_on_resize"), "0");
  host.restoreMainWindow();
  EXPECT_EQ(host.arrange_count, 1);
  host.command(kMenuAutoArrange);
  EXPECT_EQ(settings->read("Options", "auto_arrange_on_resize"), "1");
  EXPECT_TRUE(host.isMenuChecked(kMenuAutoArrange));
}

// Each menu command of the traffic and line utility menus, chosen on a
// connected card with the matching unit, opens what it names: its window,
// its dialog or its command.
TEST_F(MainWindowTest, CommandsOfLaterPartsReachTheirHandlers) {
  start();
  openDevice();
  auto unit = [this](uint8_t front_end_type) {
    replies[READ_FRONT_END_TYPE] = {0, {front_end_type}};
    app->serviceUnit().Detect(core->exec());
    core->connection().SetConnectedMenus();
  };
  auto opens = [this](int id, const char* name) {
    host.command(id);
    EXPECT_NE(host.window(name), nullptr) << name;
  };
  auto runs = [this](int id, const char* name, int close) {
    host.onModal(name, [close](fake::FakeForm& f) { f.click(close); });
    host.command(id);
    EXPECT_EQ(host.modalsRun().back(), name);
  };
  opens(kMenuSendFrames, "DENTRY");
  runs(kMenuSetModemStatus, "SETMODEM", 2);
  runs(kMenuMemoryDump, "MEMORYDUMP", 399);
  unit(kFrontEndNone);  // the FT1 probe finds a unit
  opens(kMenuFt1Status, "T1STATUS");
  opens(kMenuFt1Statistics, "T1STATS");
  opens(kMenuAdvancedFt1, "ADVANCED_FT1_CONFIG");
  runs(kMenuFt1Configuration, "FT1_CONFIG", 399);
  unit(kFrontEndT1);
  opens(kMenuTe1Alarms, "TE1ALARMS");
  opens(kMenuTe1Tests, "TE1_TESTS");
  runs(kMenuReadRegister, "READ_REGISTER", 2);
  unit(kFrontEnd56K);
  opens(kMenu56KStatus, "IDD_56K_STATUS");

  driver.requests.clear();
  host.command(kMenuEnableCommunications);
  ASSERT_FALSE(sent().empty());
  EXPECT_EQ(sent().front(), ENABLE_CHDLC_COMMUNICATIONS);
  host.command(kMenuDisableCommunications);
  EXPECT_EQ(sent().back(), DISABLE_CHDLC_COMMUNICATIONS);
  const size_t before = driver.requests.size();
  core->mainWindow().onMenuCommand(55555);  // unknown ids do nothing
  EXPECT_EQ(driver.requests.size(), before);
}

TEST_F(MainWindowTest, ExitClosesEverythingWithoutReopeningAndDisablesCommunications) {
  start();
  openDevice();
  host.command(kMenuOpenAll);
  bool enabled = true;
  std::vector<std::string> steps;
  auto& hooks = core->connection().hooks();
  hooks.communications_enabled = [&] { return enabled; };
  hooks.disable_communications = [&] {
    steps.push_back("disable");
    enabled = false;
  };
  core->mainWindow().addUtilityWindowCloser([&] { steps.push_back("utility"); });
  core->mainWindow().addDestroyListener([&] { steps.push_back("destroyed"); });
  host.command(kMenuExit);
  host.runPosted();
  EXPECT_FALSE(host.mainWindowExists());
  EXPECT_EQ(host.quit_code, 0);
  EXPECT_TRUE(host.windows().empty());
  EXPECT_EQ(core->exec().display(), nullptr);
  // Loop passes after the destroy tick nothing.
  EXPECT_EQ(core->Exit(host.quit_code), 0);
  EXPECT_EQ(steps, (std::vector<std::string>{"utility", "destroyed", "disable"}));
  EXPECT_EQ(driver.open_handles, 0);
}

TEST_F(MainWindowTest, MainWindowThatCannotBeCreatedFailsStartup) {
  host.main_window_fails = true;
  ProfileFile f(ini_path_);
  MonitorCore c({host, prompter, driver, f});
  EXPECT_FALSE(c.Start());
}

TEST_F(MainWindowTest, AboutBoxOpensAndCloses) {
  start();
  host.onModal("ABOUTBOX", [](fake::FakeForm& f) { f.click(1); });
  host.command(kMenuAbout);
  EXPECT_EQ(host.modalsRun().back(), "ABOUTBOX");
}
