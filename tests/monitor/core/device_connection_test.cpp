#include <gtest/gtest.h>

#include "tests/monitor/core/core_fixture.h"

class ConnectionTest : public CoreTest {
 protected:
  void SetUp() override { writeIni("[Polling]\nuse_system_timer=0\n"); }
  void expectMenus(bool connected) {
    for (int id : {kMenuLinkStatus, kMenuOperationalStatistics, kMenuCommErrorStatistics,
                   kMenuModemStatus, kMenuOpenAll, kMenuStreaming, kMenuEnableCommunications,
                   kMenuDisableCommunications, kMenuSetModemStatus, kMenuSendFrames})
      EXPECT_EQ(host.isMenuEnabled(id), connected) << id;
    EXPECT_EQ(host.isMenuEnabled(kMenuSelectDevice), !connected);
    EXPECT_EQ(host.isMenuEnabled(kMenuOpenDevice), !connected);
    EXPECT_EQ(host.isMenuEnabled(kMenuConfigureDevice), !connected);
    EXPECT_EQ(host.isMenuEnabled(kMenuCloseDevice), connected);
    for (int id : {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration, kMenuAdvancedFt1,
                   kMenuTe1Alarms, kMenuTe1Tests, kMenu56KStatus, kMenuReadRegister})
      EXPECT_FALSE(host.isMenuEnabled(id)) << id;
    for (int id : {kMenuConfigure, kMenuAbout, kMenuExit, kMenuPollingInfo, kMenuPollNow,
                   kMenuSuspendPolling, kMenuArrangeIcons, kMenuMinimizeAll, kMenuAutoArrange,
                   kMenuMemoryDump})
      EXPECT_TRUE(host.isMenuEnabled(id)) << id;
  }
};

TEST_F(ConnectionTest, StartupShowsClosedDeviceAndDisconnectedMenus) {
  start();
  EXPECT_EQ(host.mainTitle(), "Talvlink Monitor (VR20/VR40)");
  auto& polls = window("POLLS");
  EXPECT_EQ(polls.text(901), "TALVSTRM0");
  EXPECT_EQ(polls.text(902), "Closed");
  expectMenus(false);
  EXPECT_TRUE(host.isMenuChecked(kMenuAutoArrange));
  EXPECT_TRUE(driver.opened.empty());
}

TEST_F(ConnectionTest, OpenReadsConfigurationAndVersion) {
  start();
  openDevice();
  EXPECT_EQ(sent(), (std::vector<uint8_t>{READ_CHDLC_CONFIGURATION, READ_CODE_VERSION}));
  EXPECT_EQ(core->connection().codeVersion(), "4.02");
  EXPECT_EQ(window("POLLS").text(902), "Opened");
  expectMenus(true);
  host.onModal("STCONFIG", [](fake::FakeForm& f) {
    EXPECT_EQ(f.title(), "CHDLC v4.02 Configuration");
    EXPECT_EQ(f.text(200), "64000");
    EXPECT_EQ(f.text(201), "1500");
    EXPECT_EQ(f.text(202), "50");
    EXPECT_EQ(f.text(204), "0x0002");
    EXPECT_EQ(f.text(205), "0x0003");
    EXPECT_EQ(f.text(203), "");
    f.click(1);
  });
  host.command(kMenuStreaming);
}

TEST_F(ConnectionTest, VersionIsCutTo31CharactersAndMissingVersionReadsQuestionMarks) {
  replies[READ_CODE_VERSION] = {0, std::vector<uint8_t>(40, 'V')};
  start();
  openDevice();
  EXPECT_EQ(core->connection().codeVersion(), std::string(31, 'V'));
  host.command(kMenuCloseDevice);
  replies[READ_CODE_VERSION] = {0x01, {}};
  host.command(kMenuOpenDevice);
  EXPECT_EQ(core->connection().codeVersion(), "?.??");
  host.onModal("STCONFIG", [](fake::FakeForm& f) {
    EXPECT_EQ(f.title(), "CHDLC v?.?? Configuration");
    f.closeBox();
  });
  host.command(kMenuStreaming);
}

TEST_F(ConnectionTest, ConfigurationReadRetriesThenFails) {
  replies[READ_CHDLC_CONFIGURATION] = {0x10, {}};
  start();
  core->connection().setConfigured();
  host.command(kMenuOpenDevice);
  EXPECT_EQ(sent(), std::vector<uint8_t>(4, READ_CHDLC_CONFIGURATION));
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text,
            "Unable to obtain streaming configuration.  Make sure the device name is correct and "
            "that another process has already set the configuration.");
  EXPECT_EQ(prompter.last().caption, "Command Error");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
  EXPECT_FALSE(core->connection().connected());
  EXPECT_EQ(driver.open_handles, 0);
  EXPECT_EQ(window("POLLS").text(902), "Closed");
  expectMenus(false);
}

TEST_F(ConnectionTest, UnansweredReadAsksAndRetryCanSucceed) {
  queue[READ_CHDLC_CONFIGURATION] = {{0xAA, {}, false}, {0x7F, {}}};
  prompter.answer(ui::Answer::Retry);
  prompter.answer(ui::Answer::Retry);
  std::vector<std::string> statuses;
  prompter.while_shown = [&](const ui::Prompt&) { statuses.push_back(window("POLLS").text(902)); };
  start();
  openDevice();
  EXPECT_EQ(prompter.count(), 2u);
  EXPECT_EQ(statuses, (std::vector<std::string>{"Opening...", "Retry 1/3..."}));
  EXPECT_EQ(window("POLLS").text(902), "Opened");
}

TEST_F(ConnectionTest, CancelAtTimeoutPromptGivesUp) {
  replies[READ_CHDLC_CONFIGURATION] = {0x7F, {}};
  start();
  core->connection().setConfigured();
  host.command(kMenuOpenDevice);
  EXPECT_EQ(sent().size(), 1u);
  EXPECT_EQ(prompter.count(), 2u);
  EXPECT_EQ(prompter.shown()[0].caption, "Timeout Error");
  EXPECT_EQ(prompter.last().caption, "Command Error");
}

TEST_F(ConnectionTest, FailedOpenShowsThePlatformErrorCode) {
  driver.open_error = 5;
  start();
  core->connection().setConfigured();
  host.command(kMenuOpenDevice);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text, "Cannot open device! Error code 5.");
  EXPECT_EQ(prompter.last().caption, "Open Error");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
  EXPECT_EQ(window("POLLS").text(902), "Closed");
}

TEST_F(ConnectionTest, NamesThatAreNotCardDevicesNeverReachTheDriver) {
  for (const char* name : {"../x", "C:", "TALVSTRM16", "TALVSTRM01", "", "PhysicalDrive0"}) {
    SCOPED_TRACE(name);
    writeIni(std::string("[Hardware]\ndefault_device=") + name + "\n[Polling]\nuse_system_timer=0\n");
    fake::FakeHost h;
    fake::FakePrompter p;
    ProfileFile f(ini_path_);
    MonitorCore c({h, p, driver, f});
    ASSERT_TRUE(c.Start());
    c.connection().setConfigured();
    h.command(kMenuOpenDevice);
    ASSERT_EQ(p.count(), 1u);
    EXPECT_EQ(p.last().text, "Cannot open device! Error code 2.");
    EXPECT_TRUE(driver.opened.empty());
    EXPECT_FALSE(c.connection().connected());
  }
}

TEST_F(ConnectionTest, SelectDeviceChangesNameAndOnlyOptionallyTheDefault) {
  writeIni("[Hardware]\ndefault_device=TALVSTRM0\n");
  start();
  host.onModal("SELCARD", [](fake::FakeForm& f) {
    EXPECT_EQ(f.text(101), "TALVSTRM0");
    EXPECT_EQ(f.text(103), "TALVSTRM0");
    f.type(101, "TALVSTRM3");
    f.click(1);
  });
  host.command(kMenuSelectDevice);
  EXPECT_EQ(core->connection().deviceName(), "TALVSTRM3");
  EXPECT_EQ(window("POLLS").text(901), "TALVSTRM3");
  EXPECT_EQ(settings->read("Hardware", "default_device"), "TALVSTRM0");

  host.onModal("SELCARD", [](fake::FakeForm& f) {
    f.type(101, "TALV\r\nSTRM2" + std::string(60, '9'));
    f.click(102);
    f.click(1);
  });
  host.command(kMenuSelectDevice);
  std::string expected = ("TALVSTRM2" + std::string(60, '9')).substr(0, 48);
  EXPECT_EQ(core->connection().deviceName(), expected);
  EXPECT_EQ(settings->read("Hardware", "default_device"), expected);

  host.onModal("SELCARD", [](fake::FakeForm& f) {
    f.type(101, "TALVSTRM9");
    f.closeBox();
    EXPECT_FALSE(f.ended());
    f.click(2);
  });
  host.command(kMenuSelectDevice);
  EXPECT_EQ(core->connection().deviceName(), expected);
}

TEST_F(ConnectionTest, CloseDeviceKeepsPollingInfoOpenAndClosesTheRest) {
  start();
  openDevice();
  host.command(kMenuOpenAll);
  host.command(kMenuCloseDevice);
  EXPECT_FALSE(core->connection().connected());
  EXPECT_EQ(driver.open_handles, 0);
  ASSERT_EQ(host.windows().size(), 1u);
  EXPECT_EQ(window("POLLS").text(902), "Closed");
  EXPECT_TRUE(host.isMenuChecked(kMenuPollingInfo));
  for (int id : {kMenuLinkStatus, kMenuOperationalStatistics, kMenuCommErrorStatistics, kMenuModemStatus})
    EXPECT_FALSE(host.isMenuChecked(id));
  expectMenus(false);
  // Requests after the close never reach a handle.
  driver.requests.clear();
  core->exec().block().prepare(READ_CHDLC_LINK_STATUS);
  EXPECT_EQ(core->exec().ExecuteCommand(), 0xAA);
  EXPECT_TRUE(driver.requests.empty());
}

TEST_F(ConnectionTest, OpenRunsTheConfigureFlowUntilConfigured) {
  int flows = 0;
  start();
  core->connection().hooks().configure_device = [&] { ++flows; };
  host.command(kMenuOpenDevice);
  EXPECT_EQ(flows, 1);
  host.command(kMenuCloseDevice);
  core->connection().setConfigured();
  host.command(kMenuOpenDevice);
  EXPECT_EQ(flows, 1);
  host.command(kMenuCloseDevice);
  host.command(kMenuConfigureDevice);
  EXPECT_EQ(flows, 2);
}

TEST_F(ConnectionTest, MemoryDumpWhileDisconnectedShowsTheNotConnectedBox) {
  start();
  host.command(kMenuMemoryDump);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text,
            "The application is not connected to the driver. Please use File->Open Device to "
            "connect to the driver.");
  // An empty caption would show the program's name instead.
  EXPECT_EQ(prompter.last().caption, "Memory Dump");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Information);
}
