// The TE1, 56K and memory dump windows rendered by the real Qt forms.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/profile_store.h"
#include "tests/support/fake_prompter.h"
#include "tests/support/scripted_driver.h"
#include "tests/ui/qt_test_app.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/screenshot.h"

namespace {

QWidget* TopLevelTitled(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == title) return w;
  return nullptr;
}

int LightsShowing(QWidget* window, const char* image) {
  int n = 0;
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->accessibleDescription() == QLatin1String(image)) ++n;
  return n;
}

QString LabelText(QWidget* window, const QString& prefix) {
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->text().startsWith(prefix)) return label->text();
  return {};
}

void ClickButton(QWidget* window, const QString& text) {
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
    if (button->text() == text) button->click();
}

class LineWindowsQtTest : public ::testing::Test {
 protected:
  LineWindowsQtTest() : ini_(std::filesystem::temp_directory_path() / ("talvmon-qt-" + std::to_string(::getpid()) + ".ini")) {
    driver_.answer = [this](const fake::Request& r, uint8_t* out, size_t) {
      if (r.code == IOCTL_READ_MEMORY) {
        MemoryReadRequest q;
        std::copy(r.in.begin(), r.in.end(), q.bytes().begin());
        q.setStatus(0);
        for (size_t i = 0; i < q.length(); ++i) q.data()[i] = static_cast<uint8_t>((q.offset() + i) * 13);
        std::copy(q.bytes().begin(), q.bytes().end(), out);
        return true;
      }
      if (r.code != IOCTL_EXEC_CMD && r.code != IOCTL_EXEC_CMD_2K) return false;
      std::copy(r.in.begin(), r.in.end(), out);
      out[4] = 0;
      auto it = replies_.find(r.in[1]);
      if (it != replies_.end()) std::copy(it->second.begin(), it->second.end(), out + 16);
      return true;
    };
    replies_[READ_CHDLC_CONFIGURATION] = std::vector<uint8_t>(48);
  }
  ~LineWindowsQtTest() override {
    app_.reset();
    std::filesystem::remove(ini_);
  }

  void connectWith(uint8_t front_end) {
    settings_ = std::make_unique<ProfileFile>(ini_.string());
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, *settings_});
    ASSERT_TRUE(app_->Start());
    app_->core().connection().setConfigured();
    app_->core().mainWindow().onMenuCommand(kMenuOpenDevice);
    replies_[READ_FRONT_END_TYPE] = {front_end};
    app_->serviceUnit().Detect(app_->core().exec());
    app_->core().connection().SetConnectedMenus();
  }
  void command(int id) { app_->core().mainWindow().onMenuCommand(id); }

  ui::QtHost host_;
  fake::FakePrompter prompter_;
  fake::ScriptedDriver driver_;
  std::map<uint8_t, std::vector<uint8_t>> replies_;
  std::filesystem::path ini_;
  std::unique_ptr<ProfileFile> settings_;
  std::unique_ptr<MonitorApp> app_;
};

TEST_F(LineWindowsQtTest, Te1AlarmsShowsARaisedAlarm) {
  connectWith(kFrontEndT1);
  std::vector<uint8_t> alarms(20);
  le::put_u16(alarms, 0, 0x0018);  // OOF and RED
  const uint32_t counters[] = {12, 3, 4096, 0xFFFFFFFF};
  for (size_t i = 0; i < 4; ++i) le::put_u32(alarms, 4 + 4 * i, counters[i]);
  replies_[READ_FRONT_END_ALARMS] = alarms;
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
  replies_[READ_FRONT_END_ALARMS] = {0x08, 0x0C};
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
