// The real main window on Qt's offscreen platform, over the in-process
// simulator: open a device, open every monitor window, poll, close.

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "tests/support/fake_prompter.h"
#include "tests/ui/qt_test_app.h"
#include "ui/qt/qt_form.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/screenshot.h"

namespace {

class TalvmonWindowTest : public ::testing::Test {
 protected:
  TalvmonWindowTest()
      : ini_(std::filesystem::temp_directory_path() / ("talvmon-ui-" + std::to_string(::getpid()) + ".ini")),
        settings_(ini_.string()),
        simulator_(cardsim::DemoCards()),
        driver_(simulator_) {
    std::ofstream(ini_) << "[Polling]\ntick_interval_ms=50\n";
    // A card another process configured earlier.
    simulator_.card(0)->withState([](cardsim::CardState& s) {
      std::array<uint8_t, StreamingConfig::kSize> image{};
      StreamingConfig c;
      c.baud_rate = 64000;
      c.Write(image);
      s.config = image;
    });
  }
  ~TalvmonWindowTest() override { std::filesystem::remove(ini_); }

  std::filesystem::path ini_;
  ProfileFile settings_;
  cardsim::Simulator simulator_;
  cardsim::SimDriver driver_;
  fake::FakePrompter prompter_;
};

TEST_F(TalvmonWindowTest, OpenPollAndCloseWithEveryMonitorWindow) {
  ui::QtHost host;
  MonitorApp monitor({host, prompter_, driver_, settings_});
  ASSERT_TRUE(monitor.Start());
  ASSERT_NE(host.mainWindow(), nullptr);
  EXPECT_EQ(host.mainWindow()->windowTitle().toStdString(), "Talvlink Monitor (VR20/VR40)");
  host.mainWindow()->resize(1100, 640);

  MainWindow& main = monitor.core().mainWindow();
  monitor.core().connection().setConfigured();
  main.onMenuCommand(kMenuOpenDevice);
  ASSERT_TRUE(monitor.core().connection().connected());
  main.onMenuCommand(kMenuOpenAll);
  EXPECT_EQ(host.mdiArea()->subWindowList().size(), 5);

  const uint32_t ticks = monitor.core().polling().tickCounter();
  ASSERT_TRUE(uitest::WaitUntil([&] { return monitor.core().polling().tickCounter() >= ticks + 5; }, 5000));
  uitest::RunEventsFor(100);
  // Laid out side by side for the picture.
  int x = 8, y = 8, row_height = 0;
  for (QMdiSubWindow* w : host.mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
    if (x + w->width() > host.mdiArea()->width()) {
      x = 8;
      y += row_height + 8;
      row_height = 0;
    }
    w->move(x, y);
    x += w->width() + 8;
    row_height = std::max(row_height, w->height());
  }
  uitest::RunEventsFor(50);
  uitest::SaveForDocs(ui::GrabMainWindow(host), "talvmon.png");

  main.onMenuCommand(kMenuCloseDevice);
  EXPECT_FALSE(monitor.core().connection().connected());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  auto windows = host.mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 1);
  EXPECT_EQ(windows[0]->windowTitle().toStdString(), "Polling and Device Info");  // reopened
  EXPECT_EQ(prompter_.count(), 0u);

  host.closeMainWindow();
  EXPECT_EQ(host.run(), 0);
  EXPECT_EQ(monitor.Exit(0), 0);
}

// The traffic windows' "Capture to file..." boxes show whole and clear of
// every other control.
TEST_F(TalvmonWindowTest, CaptureBoxesFitTheirWindows) {
  ui::QtHost host;
  MonitorApp monitor({host, prompter_, driver_, settings_});
  ASSERT_TRUE(monitor.Start());
  MainWindow& main = monitor.core().mainWindow();
  monitor.core().connection().setConfigured();
  main.onMenuCommand(kMenuOpenDevice);
  main.onMenuCommand(kMenuEnableCommunications);
  main.onMenuCommand(kMenuSendFrames);
  ASSERT_NE(monitor.communications().receiveDetail(), nullptr);
  ASSERT_NE(monitor.communications().sendFrames(), nullptr);
  uitest::RunEventsFor(50);

  struct Window {
    ui::Form& form;
    int box;
    const char* picture;
  };
  for (const Window& w : {Window{monitor.communications().receiveDetail()->form(), ReceiveDetailWindow::kCapture,
                                 "receive_detail.png"},
                          Window{monitor.communications().sendFrames()->form(), SendFramesWindow::kCapture,
                                 "send_frames.png"}}) {
    ui::QtForm* form = host.qtForm(w.form);
    ASSERT_NE(form, nullptr);
    QWidget* box = form->control(w.box);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->accessibleName().toStdString(), "Capture to file...");
    EXPECT_GE(box->width(), box->sizeHint().width()) << w.picture;
    EXPECT_TRUE(form->surface()->rect().contains(box->geometry())) << w.picture;
    for (QWidget* other : form->surface()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (other != box && other->isVisible())
        EXPECT_FALSE(other->geometry().intersects(box->geometry()))
            << w.picture << ": " << other->accessibleName().toStdString();
    uitest::SaveForDocs(ui::GrabForm(host, w.form), w.picture);
  }
  EXPECT_EQ(prompter_.count(), 0u);
  main.onMenuCommand(kMenuDisableCommunications);
  host.closeMainWindow();
  EXPECT_EQ(host.run(), 0);
  EXPECT_EQ(monitor.Exit(0), 0);
}

}  // namespace
