// The FT1 windows rendered by the real Qt forms over the simulated unit.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QKeyEvent>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/line/ft1_utilities.h"
#include "tests/support/fake_prompter.h"
#include "tests/ui/qt_test_app.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/screenshot.h"

namespace {

using uitest::ClickButton;
using uitest::LightsShowing;
using uitest::TopLevelTitled;

bool ListShows(QWidget* window, const QString& line) {
  for (QListWidget* list : window->findChildren<QListWidget*>())
    if (!list->findItems(line, Qt::MatchExactly).isEmpty()) return true;
  return false;
}

class Ft1WindowsQtTest : public ::testing::Test {
 protected:
  Ft1WindowsQtTest()
      : ini_(std::filesystem::temp_directory_path() / ("talvmon-ft1qt-" + std::to_string(::getpid()) + ".ini")),
        settings_(ini_.string()),
        simulator_(cardsim::DemoCards()),
        driver_(simulator_) {
    std::ofstream(ini_) << "[Polling]\nuse_system_timer=0\n";
    simulator_.card(0)->withState([](cardsim::CardState& s) {
      std::array<uint8_t, StreamingConfig::kSize> image{};
      StreamingConfig{}.Write(image);
      s.config = image;
    });
  }
  ~Ft1WindowsQtTest() override {
    app_.reset();
    std::filesystem::remove(ini_);
  }

  void connect() {
    app_ = std::make_unique<MonitorApp>(CoreServices{host_, prompter_, driver_, settings_});
    ASSERT_TRUE(app_->Start());
    app_->core().connection().setConfigured();
    command(kMenuOpenDevice);
    app_->serviceUnit().Detect(app_->core().exec());
    app_->core().connection().SetConnectedMenus();
    ASSERT_TRUE(host_.isMenuEnabled(kMenuFt1Status));
  }
  void command(int id) { app_->core().mainWindow().onMenuCommand(id); }
  template <class F>
  void onUnit(F f) {
    simulator_.card(0)->withState([&](cardsim::CardState& s) { f(s.ft1); });
  }

  std::filesystem::path ini_;
  ProfileFile settings_;
  cardsim::Simulator simulator_;
  cardsim::SimDriver driver_;
  ui::QtHost host_;
  fake::FakePrompter prompter_;
  std::unique_ptr<MonitorApp> app_;
};

TEST_F(Ft1WindowsQtTest, StatusMonitorShowsAFailedDigitalLoop) {
  connect();
  onUnit([](cardsim::Ft1Unit& u) {
    u.setLine(cardsim::Ft1Line::kDown);
    u.select();
    u.select();
  });
  command(kMenuFt1Status);
  QWidget* window = TopLevelTitled("Talvora VR20/VR40 FT-1 Status Window");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(uitest::WaitUntil([&] { return app_->ft1Utilities().statusWindow()->textIndex() == 3; }, 5000));
  // INS, ERR and DL all red: the flashing ones caught lit.
  ASSERT_TRUE(uitest::WaitUntil([&] { return LightsShowing(window, "RED") == 3; }, 2000));
  EXPECT_EQ(LightsShowing(window, "BLACK"), 5);
  uitest::SaveForDocs(ui::GrabWindow(window), "ft1_status.png");
  command(kMenuCloseDevice);
  EXPECT_EQ(TopLevelTitled("Talvora VR20/VR40 FT-1 Status Window"), nullptr);
}

TEST_F(Ft1WindowsQtTest, StatusWindowAnswersItsSelectButtonAndEnter) {
  connect();
  command(kMenuFt1Status);
  QWidget* window = TopLevelTitled("Talvora VR20/VR40 FT-1 Status Window");
  ASSERT_NE(window, nullptr);
  window->activateWindow();
  cardsim::Ft1TestMode before{};
  onUnit([&](cardsim::Ft1Unit& u) { before = u.mode(); });
  ClickButton(window, "SELECT");
  cardsim::Ft1TestMode after = before;
  onUnit([&](cardsim::Ft1Unit& u) { after = u.mode(); });
  EXPECT_NE(after, before) << "SELECT reached the unit";
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  EXPECT_EQ(TopLevelTitled("Talvora VR20/VR40 FT-1 Status Window"), nullptr);
  EXPECT_TRUE(host_.isMenuEnabled(kMenuFt1Status));
}

TEST_F(Ft1WindowsQtTest, TerminalShowsTheUnitsMenu) {
  connect();
  command(kMenuAdvancedFt1);
  QWidget* window = TopLevelTitled("Advanced T1 Configuration");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(uitest::WaitUntil([&] { return ListShows(window, "Select: "); }, 3000));
  EXPECT_TRUE(ListShows(window, "TALVORA FT-1 CSU/DSU"));
  uitest::SaveForDocs(ui::GrabWindow(window), "ft1_terminal.png");
}

TEST_F(Ft1WindowsQtTest, StatisticsAndConfigurationRender) {
  connect();
  command(kMenuFt1Statistics);
  ASSERT_TRUE(uitest::WaitUntil([&] {
    for (QListWidget* list : host_.mainWindow()->findChildren<QListWidget*>())
      if (list->count() >= 4) return true;
    return false;
  }, 5000));
  uitest::SaveForDocs(ui::GrabMainWindow(host_), "ft1_statistics.png");
  for (QAbstractButton* button : host_.mainWindow()->findChildren<QAbstractButton*>())
    if (button->text() == "CLOSE") button->click();
  ASSERT_TRUE(uitest::WaitUntil([&] { return app_->ft1Utilities().statisticsWindow() == nullptr; }));

  bool rendered = false;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(uitest::WaitUntil([] {
      return QApplication::activeModalWidget() != nullptr && QApplication::activeModalWidget()->isVisible();
    }));
    QWidget* dialog = QApplication::activeModalWidget();
    uitest::SaveForDocs(ui::GrabWindow(dialog), "ft1_config.png");
    rendered = true;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
      if (button->text() == "Close") button->click();
  });
  command(kMenuFt1Configuration);
  EXPECT_TRUE(rendered);
}

}  // namespace
