// The monitor's daily-use additions over the fakes: the device picker, the
// stale mark on windows whose card stops answering, and the window layout
// kept per device.

#include <gtest/gtest.h>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "monitor/core/link_status_window.h"
#include "monitor/core/operational_statistics_window.h"
#include "monitor/core/select_device_dialog.h"
#include "tests/monitor/core/core_fixture.h"
#include "ui/form_copy.h"

namespace {

struct NoEvents : ui::FormHandler {
  void onInit(ui::Form&) override {}
};

TEST(CopyTextTest, CaptionsLoseTheirMnemonicAndColonAndOnlyValuesAreCopied) {
  ui::FormTemplate t{.name = "T",
                     .controls = {ui::Label("&Rate && size:", 0, 0, 1, 1, 1), ui::Text(1, "", 0, 0, 1, 1),
                                  ui::Label("Unlabelled list:", 0, 0, 1, 1, 2), ui::ListBox(2, 0, 0, 1, 1),
                                  ui::Label("No buddy:", 0, 0, 1, 1), ui::Label("Box:", 0, 0, 1, 1, 3),
                                  ui::Edit(3, 0, 0, 1, 1)},
                     .copy = ui::CopyKind::Values};
  NoEvents handler;
  fake::FakeForm form(t, handler);
  form.setText(1, "64000");
  form.setText(3, "a\tb");
  EXPECT_EQ(ui::CopyText(form), "Rate & size\t64000\nBox\ta\tb\n");

  t.copy = ui::CopyKind::ControlText;
  t.copy_control = 2;
  form.listAdd(2, "one");
  form.listAdd(2, "two");
  EXPECT_EQ(ui::CopyText(form), "one\ntwo\n");
  t.copy_control = 3;
  form.setText(3, "line 1\r\nline 2");
  EXPECT_EQ(ui::CopyText(form), "line 1\nline 2\n");
  t.copy = ui::CopyKind::None;
  EXPECT_EQ(ui::CopyText(form), "");
}

using D = SelectDeviceDialog;

TEST(DevicePickerTest, ListsThePresentCardsWithTypeAndServiceUnitAndPicksOne) {
  cardsim::Simulator simulator(cardsim::DemoCards());
  cardsim::SimDriver driver(simulator);
  // Another program watching the FT1 unit.
  simulator.card(0)->withState([](cardsim::CardState& s) { s.ft1.setMonitorFlags(1); });
  const std::vector<PresentDevice> present = ListPresentDevices(driver);
  ASSERT_EQ(present.size(), 4u);
  const char* expected[][3] = {{"TALVSTRM0", "ISA", "FT1 service unit"},
                               {"TALVSTRM1", "PCI", "T1 front end"},
                               {"TALVSTRM2", "PCI", "E1 front end"},
                               {"TALVSTRM3", "PCI", "56K unit"}};
  for (size_t i = 0; i < present.size(); ++i) {
    EXPECT_EQ(present[i].name, expected[i][0]);
    EXPECT_EQ(present[i].card, expected[i][1]);
    EXPECT_EQ(present[i].service_unit, expected[i][2]);
  }
  // Listing reads only: the FT1 unit's monitoring is left as it was.
  EXPECT_EQ(simulator.card(0)->withState([](cardsim::CardState& s) { return s.ft1.monitorFlags(); }), 1);

  fake::FakeHost host;
  D dialog("TALVSTRM1", "", present);
  host.onModal("SELCARD", [](fake::FakeForm& f) {
    EXPECT_EQ(f.lines(D::kPresent),
              (std::vector<std::string>{"TALVSTRM0\tISA\tFT1 service unit", "TALVSTRM1\tPCI\tT1 front end",
                                        "TALVSTRM2\tPCI\tE1 front end", "TALVSTRM3\tPCI\t56K unit"}));
    EXPECT_EQ(f.listSelection(D::kPresent), 1);  // the current device
    f.select(D::kPresent, 2);
    EXPECT_EQ(f.text(D::kName), "TALVSTRM2");
    f.doubleClick(D::kPresent, 3);
    EXPECT_TRUE(f.ended());
  });
  EXPECT_EQ(host.runModal(SelectDeviceTemplate(), dialog), D::kAccepted);
  EXPECT_EQ(dialog.deviceName(), "TALVSTRM3");
}

TEST(DevicePickerTest, ANameTypedByHandStillWins) {
  fake::FakeHost host;
  D dialog("TALVSTRM0", "", {{"TALVSTRM0", "ISA", "none"}});
  host.onModal("SELCARD", [](fake::FakeForm& f) {
    f.type(D::kName, "TALVSTRM9");
    f.click(1);
  });
  EXPECT_EQ(host.runModal(SelectDeviceTemplate(), dialog), D::kAccepted);
  EXPECT_EQ(dialog.deviceName(), "TALVSTRM9");
}

class DailyUseTest : public CoreTest {
 protected:
  void SetUp() override { writeIni("[Polling]\nuse_system_timer=0\n"); }
  void startWithLayout() {
    layout_path_ = LayoutPath(ini_path_);
    settings = std::make_unique<ProfileFile>(ini_path_);
    layout = std::make_unique<ProfileFile>(layout_path_);
    app = std::make_unique<MonitorApp>(CoreServices{host, prompter, driver, *settings, layout.get()});
    core = &app->core();
    core->staleNotice().time_of_day = [] { return std::string("10:32:05"); };
    ASSERT_TRUE(app->Start());
  }
  // Exit, then start again with a main window that knows nothing of the last run.
  void restart() {
    host.closeMainWindow();
    host.runPosted();
    app.reset();
    host.main_geometry = "geometry:default";
    startWithLayout();
  }
  std::optional<ui::WindowPlacement> placed(const char* name) { return host.placement(window(name)); }

  std::string layout_path_;
  std::unique_ptr<ProfileFile> layout;
};

TEST_F(DailyUseTest, WindowsOfACardThatStopsAnsweringAreMarkedStaleUntilItAnswersAgain) {
  startWithLayout();
  openDevice();
  host.command(kMenuOpenAll);
  tick();
  EXPECT_FALSE(window("LSTAT").isStale());
  const std::string shown = window("LSTAT").text(201);

  for (uint8_t command : {READ_CHDLC_LINK_STATUS, READ_CHDLC_OPERATIONAL_STATS, READ_COMMS_ERROR_STATS,
                          READ_GLOBAL_STATISTICS, READ_MODEM_STATUS})
    replies[command].answered = false;
  for (int i = 0; i < 5; ++i) tick();
  for (const char* name : {"LSTAT", "OPSTATS", "COMES", "MODEMS"}) EXPECT_TRUE(window(name).isStale()) << name;
  EXPECT_FALSE(window("POLLS").isStale());  // it asks the card nothing
  EXPECT_EQ(window("LSTAT").text(201), shown);
  // One notice for the outage, not one per tick.
  EXPECT_EQ(host.status_history[ui::StatusField::Device],
            (std::vector<std::string>{"TALVSTRM0 not answering since 10:32:05"}));
  EXPECT_EQ(prompter.count(), 0u);

  // A card answering with an error code is answering.
  replies[READ_CHDLC_LINK_STATUS] = {0x01, {}};
  for (uint8_t command : {READ_CHDLC_OPERATIONAL_STATS, READ_COMMS_ERROR_STATS, READ_GLOBAL_STATISTICS,
                          READ_MODEM_STATUS})
    replies[command] = {0, std::vector<uint8_t>(64)};
  tick();
  for (const char* name : {"LSTAT", "OPSTATS", "COMES", "MODEMS"}) EXPECT_FALSE(window(name).isStale()) << name;
  EXPECT_EQ(host.statusText(ui::StatusField::Device), "");

  replies[READ_MODEM_STATUS].answered = false;
  tick();
  EXPECT_TRUE(window("MODEMS").isStale());
  EXPECT_FALSE(window("LSTAT").isStale());
  EXPECT_EQ(host.statusText(ui::StatusField::Device), "TALVSTRM0 not answering since 10:32:05");
  host.command(kMenuCloseDevice);
  EXPECT_EQ(host.statusText(ui::StatusField::Device), "");
}

TEST_F(DailyUseTest, LayoutIsKeptPerDeviceAndRestoredWhenItsDeviceOpens) {
  startWithLayout();
  openDevice();
  host.command(kMenuLinkStatus);
  host.command(kMenuModemStatus);
  host.place(window("LSTAT"), {300, 120, 181, 68, false});
  host.place(window("MODEMS"), {10, 20, 83, 56, true});
  host.place(window("POLLS"), {400, 10, 246, 109, false});
  host.main_geometry = "geometry:moved";
  restart();
  EXPECT_EQ(host.mainWindowGeometry(), "geometry:moved");
  EXPECT_EQ(placed("POLLS")->x, 400);
  EXPECT_EQ(host.window("LSTAT"), nullptr);  // monitor windows wait for the device
  openDevice();
  ASSERT_NE(host.window("LSTAT"), nullptr);
  EXPECT_EQ(placed("LSTAT")->x, 300);
  EXPECT_EQ(placed("LSTAT")->y, 120);
  EXPECT_TRUE(window("MODEMS").isMinimized());
  EXPECT_EQ(host.window("OPSTATS"), nullptr);
  EXPECT_TRUE(host.isMenuChecked(kMenuModemStatus));

  // Closing the device keeps its layout; an exit while disconnected keeps the list.
  host.command(kMenuCloseDevice);
  host.runPosted();
  restart();
  openDevice();
  EXPECT_NE(host.window("LSTAT"), nullptr);
  EXPECT_NE(host.window("MODEMS"), nullptr);

  // Another device has a layout of its own.
  host.command(kMenuCloseDevice);
  host.runPosted();
  core->connection().setDeviceName("TALVSTRM1");
  openDevice();
  EXPECT_EQ(host.window("LSTAT"), nullptr);
}

TEST_F(DailyUseTest, ABadLayoutFileLeavesTheSpecifiedPositions) {
  std::ofstream(LayoutPath(ini_path_))
      << "[TALVSTRM0]\nmain_window=garbage\nopen_windows=LSTAT,NOSUCH,,OPSTATS\n"
      << "POLLS=1,2,3\nLSTAT=5,6,7,8,2\nOPSTATS=99999999,1,1,1,0\n";
  startWithLayout();
  EXPECT_EQ(host.mainWindowGeometry(), "geometry:default");
  EXPECT_EQ(placed("POLLS")->x, PollingInfoTemplate().x);
  openDevice();
  ASSERT_NE(host.window("LSTAT"), nullptr);
  ASSERT_NE(host.window("OPSTATS"), nullptr);
  EXPECT_EQ(placed("LSTAT")->x, LinkStatusTemplate().x);
  EXPECT_EQ(placed("OPSTATS")->x, OperationalStatisticsTemplate().x);
  EXPECT_EQ(prompter.count(), 0u);
}

}  // namespace
