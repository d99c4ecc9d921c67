// The real main window on Qt's offscreen platform, over the in-process
// simulator: open a device, open every monitor window, poll, close.

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cardsim/frame_path.h"
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

// An owned popup drawn over the main window's picture at, with a title strip
// standing in for the window manager's.
void DrawPopup(QImage& picture, const QImage& popup, const QString& title, QPoint at) {
  constexpr int kTitle = 22;
  QPainter painter(&picture);
  const QRect frame(at, QSize(popup.width() + 1, popup.height() + kTitle + 1));
  painter.fillRect(frame, QColor(0x2f, 0x6f, 0xb0));
  painter.setPen(Qt::white);
  painter.drawText(QRect(at, QSize(popup.width(), kTitle)), Qt::AlignCenter, title);
  painter.drawImage(at + QPoint(0, kTitle), popup);
  painter.setPen(Qt::black);
  painter.drawRect(frame);
}

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

TEST_F(TalvmonWindowTest, FramesFromTheLineShowInReceiveDetailAndTheStatistics) {
  ui::QtHost host;
  MonitorApp monitor({host, prompter_, driver_, settings_});
  ASSERT_TRUE(monitor.Start());
  host.mainWindow()->resize(1440, 900);
  MainWindow& main = monitor.core().mainWindow();
  monitor.core().connection().setConfigured();
  main.onMenuCommand(kMenuOpenDevice);
  main.onMenuCommand(kMenuOpenAll);
  main.onMenuCommand(kMenuEnableCommunications);
  ReceiveDetailWindow* detail = monitor.communications().receiveDetail();
  ASSERT_NE(detail, nullptr);
  detail->form().setChecked(ReceiveDetailWindow::kDisplay, true);
  detail->onCommand(ReceiveDetailWindow::kDisplay, ui::Notify::Clicked);
  detail->form().setChecked(ReceiveDetailWindow::kCount, true);
  detail->onCommand(ReceiveDetailWindow::kCount, ui::Notify::Clicked);
  ASSERT_TRUE(cardsim::StartGenerator(*simulator_.card(0), {.rate = 250, .size = 24, .count = 750}));

  ASSERT_TRUE(uitest::WaitUntil([&] { return detail->form().text(ReceiveDetailWindow::kCounter) == "750"; }, 8000));
  const uint32_t ticks = monitor.core().polling().tickCounter();
  ASSERT_TRUE(uitest::WaitUntil([&] { return monitor.core().polling().tickCounter() >= ticks + 3; }, 5000));
  EXPECT_EQ(cardsim::ReadGenerator(*simulator_.card(0)).handed_out, 750u);
  uitest::LayOutSideBySide(host.mdiArea());
  QImage picture = ui::GrabMainWindow(host);
  DrawPopup(picture, ui::GrabForm(host, detail->form()), "Receive Detail", {540, 400});
  uitest::SaveForDocs(picture, "talvmon.png");
  for (QMdiSubWindow* w : host.mdiArea()->subWindowList())
    if (w->windowTitle() == "Operational Statistics") uitest::SaveForDocs(w->grab().toImage(), "throughput_graph.png");

  main.onMenuCommand(kMenuDisableCommunications);
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
    for (QWidget* other : form->surface()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other != box && other->isVisible()) {
        EXPECT_FALSE(other->geometry().intersects(box->geometry()))
            << w.picture << ": " << other->accessibleName().toStdString();
      }
    }
    uitest::SaveForDocs(ui::GrabForm(host, w.form), w.picture);
  }
  EXPECT_EQ(prompter_.count(), 0u);
  main.onMenuCommand(kMenuDisableCommunications);
  host.closeMainWindow();
  EXPECT_EQ(host.run(), 0);
  EXPECT_EQ(monitor.Exit(0), 0);
}

// The configuration dialog as the user meets it, for a serial card and a T1 card.
TEST_F(TalvmonWindowTest, ConfigureDeviceDialogShowsTheMediaTypesControls) {
  struct Case {
    uint8_t media;
    const char* channels;
    const char* picture;
  };
  for (const Case& c : {Case{kMediaSerial, "ALL", "setconfig_serial.png"}, Case{kMediaT1, "1-24", "setconfig_t1.png"}}) {
    ui::QtHost host;
    MonitorApp monitor({host, prompter_, driver_, settings_});
    ASSERT_TRUE(monitor.Start());
    monitor.records().te.media_type = c.media;
    monitor.records().active_channels_text = c.channels;
    QString title;
    QTimer::singleShot(0, [&] {
      ASSERT_TRUE(uitest::WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }));
      QWidget* dialog = QApplication::activeModalWidget();
      title = dialog->windowTitle();
      uitest::SaveForDocs(ui::GrabWindow(dialog), c.picture);
      uitest::ClickButton(dialog, "Cancel");
    });
    monitor.core().mainWindow().onMenuCommand(kMenuConfigureDevice);
    EXPECT_FALSE(title.isEmpty());
    host.closeMainWindow();
    EXPECT_EQ(host.run(), 0);
    EXPECT_EQ(monitor.Exit(0), 0);
  }
}

}  // namespace
