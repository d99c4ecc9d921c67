// The TE1, 56K and memory dump windows rendered by the real Qt forms.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/profile_store.h"
#include "tests/support/fake_prompter.h"
#include "tests/ui/qt_test_app.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/screenshot.h"

namespace {

using uitest::ClickButton;
using uitest::LightsShowing;
using uitest::TopLevelTitled;

QString LabelText(QWidget* window, const QString& prefix) {
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->text().startsWith(prefix)) return label->text();
  return {};
}

// Over the demo cards of the in-process simulator.
class LineWindowsQtTest : public ::testing::Test {
 protected:
  LineWindowsQtTest()
      : ini_(std::filesystem::temp_directory_path() / ("talvmon-qt-" + std::to_string(::getpid()) + ".ini")),
        simulator_(cardsim::DemoCards()), driver_(simulator_) {}
  ~LineWindowsQtTest() override {
    app_.reset();
    std::filesystem::remove(ini_);
  }

  // Opens the demo card of this front end, configured beforehand.
  void connectWith(uint8_t front_end) {
    card_ = simulator_.card(front_end);
    card_->withState([](cardsim::CardState& s) {
      s.config.emplace();
      StreamingConfig().Write(*s.config);
    });
    settings_ = std::make_unique<ProfileFile>(ini_.string());
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, *settings_});
    ASSERT_TRUE(app_->Start());
    DeviceConnection& connection = app_->core().connection();
    connection.setDeviceName("TALVSTRM" + std::to_string(front_end));
    connection.setConfigured();
    command(kMenuOpenDevice);
    ASSERT_TRUE(connection.connected());
    app_->serviceUnit().Detect(app_->core().exec());
    connection.SetConnectedMenus();
  }
  void command(int id) { app_->core().mainWindow().onMenuCommand(id); }

  ui::QtHost host_;
  fake::FakePrompter prompter_;
  std::filesystem::path ini_;
  cardsim::Simulator simulator_;
  cardsim::SimDriver driver_;
  cardsim::Card* card_ = nullptr;
  std::unique_ptr<ProfileFile> settings_;
  std::unique_ptr<MonitorApp> app_;
};

TEST_F(LineWindowsQtTest, Te1AlarmsShowsARaisedAlarm) {
  connectWith(kFrontEndT1);
  card_->withState([](cardsim::CardState& s) {
    s.front_end.alarms = cardsim::kAlarmOof | cardsim::kAlarmRed;
    s.front_end.counters = {12, 3, 4096, 0xFFFFFFFF};
  });
  command(kMenuTe1Alarms);
  QWidget* window = TopLevelTitled("Talvora TE-1 Alarms Window");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(uitest::WaitUntil([&] { return LightsShowing(window, "RED") == 2; }));
  EXPECT_EQ(LightsShowing(window, "GREEN"), 2);
  EXPECT_EQ(LabelText(window, "OOF Error"), "OOF Error Count: ");
  uitest::SaveForDocs(ui::GrabWindow(window), "te1_alarms.png");
}

TEST_F(LineWindowsQtTest, E1AlarmsAndTestsRender) {
  connectWith(kFrontEndE1);
  command(kMenuTe1Alarms);
  QWidget* alarms = TopLevelTitled("Talvora TE-1 Alarms Window");
  ASSERT_NE(alarms, nullptr);
  EXPECT_EQ(LabelText(alarms, "Far End"), "Far End Block Count");
  uitest::RunEventsFor(250);
  uitest::SaveForDocs(ui::GrabWindow(alarms), "te1_alarms_e1.png");
  command(kMenuTe1Tests);
  QWidget* tests = TopLevelTitled("T1/E1 Tests");
  ASSERT_NE(tests, nullptr);
  uitest::SaveForDocs(ui::GrabWindow(tests), "te1_tests.png");
  command(kMenuCloseDevice);
  EXPECT_EQ(TopLevelTitled("T1/E1 Tests"), nullptr);
}

TEST_F(LineWindowsQtTest, Status56KRenders) {
  connectWith(kFrontEnd56K);
  card_->withState([](cardsim::CardState& s) { s.front_end.status_56k = 0x0C08; });
  command(kMenu56KStatus);
  QWidget* status = TopLevelTitled("Talvora 56K DSU\\CSU Alarms Window");
  ASSERT_NE(status, nullptr);
  ASSERT_TRUE(uitest::WaitUntil([&] { return LightsShowing(status, "RED") == 1; }));
  EXPECT_EQ(LightsShowing(status, "GREEN"), 1);
  uitest::SaveForDocs(ui::GrabWindow(status), "status_56k.png");
}

TEST_F(LineWindowsQtTest, MemoryDumpRenders) {
  connectWith(kFrontEndNone);
  int lines = 0;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(uitest::WaitUntil([] {
      return QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget()->isVisible();
    }));
    QWidget* dialog = QApplication::activeModalWidget();
    ClickButton(dialog, "&Get Memory");
    lines = dialog->findChild<QListWidget*>()->count();
    uitest::SaveForDocs(ui::GrabWindow(dialog), "memory_dump.png");
    ClickButton(dialog, "&Close");
  });
  command(kMenuMemoryDump);
  EXPECT_EQ(lines, 16);
}

}  // namespace
