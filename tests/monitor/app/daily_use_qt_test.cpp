// talvmon's daily-use additions on Qt's offscreen platform over the
// in-process simulator: layout kept across runs, the Window menu's MDI
// items, copying every kind of window, stale values greyed, the device
// picker and the capture status line, with their pictures for the docs.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cardsim/frame_path.h"
#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "driver_if/mailbox.h"
#include "monitor/app/monitor_app.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/window_layout.h"
#include "tests/support/fake_prompter.h"
#include "tests/ui/qt_test_app.h"
#include "ui/qt/qt_form.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/screenshot.h"
#include "ui/qt/status_fields.h"
#include "ui/qt/window_menu.h"

namespace {

// One run of talvmon: the host, the program, and an orderly exit.
struct Talvmon {
  Talvmon(fake::FakePrompter& prompter, CardDriver& driver, ProfileStore& settings, ProfileStore* layout)
      : monitor({host, prompter, driver, settings, layout}) {
    started = monitor.Start();
  }
  ~Talvmon() {
    if (host.mainWindow() != nullptr) host.closeMainWindow();
    host.run();
    monitor.Exit(0);
  }
  MainWindow& main() { return monitor.core().mainWindow(); }
  void openDevice() {
    monitor.core().connection().setConfigured();
    main().onMenuCommand(kMenuOpenDevice);
  }
  QMdiSubWindow* sub(const QString& title) {
    for (QMdiSubWindow* w : host.mdiArea()->subWindowList())
      if (w->windowTitle() == title && w->isVisible()) return w;
    return nullptr;
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) main().onMenuCommand(kMenuPollNow);
    uitest::RunEventsFor(20);
  }

  ui::QtHost host;
  MonitorApp monitor;
  bool started = false;
};

// Presses the window's Ctrl+C and returns what reached the clipboard.
QString CopyFrom(QWidget* window) {
  QGuiApplication::clipboard()->clear();
  for (QShortcut* s : window->findChildren<QShortcut*>())
    if (s->key() == QKeySequence(QKeySequence::Copy)) emit s->activated();
  return QGuiApplication::clipboard()->text();
}

class DailyUseQtTest : public ::testing::Test {
 protected:
  DailyUseQtTest()
      : dir_(std::filesystem::temp_directory_path() / ("talvmon-daily-" + std::to_string(::getpid()))),
        simulator_(cardsim::DemoCards()),
        driver_(simulator_) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "talvmon.ini") << "[Polling]\nuse_system_timer=0\n";
    // A card another process configured earlier.
    simulator_.card(0)->withState([](cardsim::CardState& s) {
      std::array<uint8_t, StreamingConfig::kSize> image{};
      StreamingConfig c;
      c.baud_rate = 64000;
      c.Write(image);
      s.config = image;
    });
    settings_ = std::make_unique<ProfileFile>((dir_ / "talvmon.ini").string());
    layout_ = std::make_unique<ProfileFile>(LayoutPath(settings_->path()));
  }
  ~DailyUseQtTest() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<Talvmon> start() { return std::make_unique<Talvmon>(prompter_, driver_, *settings_, layout_.get()); }

  std::filesystem::path dir_;
  cardsim::Simulator simulator_;
  cardsim::SimDriver driver_;
  fake::FakePrompter prompter_;
  std::unique_ptr<ProfileFile> settings_;
  std::unique_ptr<ProfileFile> layout_;
};

TEST_F(DailyUseQtTest, LayoutComesBackAtTheNextStartForTheSameDevice) {
  QRect main_geometry;
  {
    auto run = start();
    ASSERT_TRUE(run->started);
    run->host.mainWindow()->setGeometry(60, 70, 900, 600);
    uitest::RunEventsFor(20);
    main_geometry = run->host.mainWindow()->geometry();
    run->openDevice();
    run->main().onMenuCommand(kMenuLinkStatus);
    run->main().onMenuCommand(kMenuModemStatus);
    run->sub("Link Status")->move(250, 140);
    run->sub("Polling and Device Info")->move(420, 10);
    run->sub("Modem Status")->showMinimized();
    uitest::RunEventsFor(20);
  }
  auto run = start();
  uitest::RunEventsFor(20);
  EXPECT_EQ(run->host.mainWindow()->geometry(), main_geometry);
  ASSERT_NE(run->sub("Polling and Device Info"), nullptr);
  EXPECT_EQ(run->sub("Polling and Device Info")->pos(), QPoint(420, 10));
  EXPECT_EQ(run->sub("Link Status"), nullptr);
  run->openDevice();
  ASSERT_NE(run->sub("Link Status"), nullptr);
  EXPECT_EQ(run->sub("Link Status")->pos(), QPoint(250, 140));
  ASSERT_NE(run->sub("Modem Status"), nullptr);
  EXPECT_TRUE(run->sub("Modem Status")->isMinimized());
  EXPECT_EQ(run->sub("Operational Statistics"), nullptr);
  EXPECT_EQ(prompter_.count(), 0u);
}

TEST_F(DailyUseQtTest, ABadOrOffScreenLayoutGivesWindowsTheUserCanReach) {
  QRect default_geometry;
  QPoint default_polls;
  {
    auto run = std::make_unique<Talvmon>(prompter_, driver_, *settings_, nullptr);
    default_geometry = run->host.mainWindow()->geometry();
    default_polls = run->sub("Polling and Device Info")->pos();
  }
  std::ofstream(LayoutPath(settings_->path())) << "[TALVSTRM0]\nmain_window=AAAA!!\nPOLLS=1;2\n";
  {
    auto run = start();
    EXPECT_EQ(run->host.mainWindow()->geometry(), default_geometry);
    EXPECT_EQ(run->sub("Polling and Device Info")->pos(), default_polls);
  }

  // A main window left where no screen is any more, a tool window far outside it.
  std::string far_away;
  {
    auto run = std::make_unique<Talvmon>(prompter_, driver_, *settings_, nullptr);
    run->host.mainWindow()->move(30000, 30000);
    far_away = run->host.mainWindowGeometry();
  }
  std::ofstream(LayoutPath(settings_->path()))
      << "[TALVSTRM0]\nmain_window=" << far_away << "\nopen_windows=LSTAT\nLSTAT=9000,-9000,181,68,0\n";
  auto run = start();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.intersects(run->host.mainWindow()->frameGeometry()));
  run->openDevice();
  QMdiSubWindow* link = run->sub("Link Status");
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(run->host.mdiArea()->viewport()->rect().intersects(link->geometry()));
}

TEST_F(DailyUseQtTest, WindowMenuOffersTheMdiItemsAfterItsOwn) {
  auto run = start();
  run->host.mainWindow()->resize(1100, 700);
  run->openDevice();
  run->main().onMenuCommand(kMenuOpenAll);
  uitest::RunEventsFor(20);
  QMdiArea* area = run->host.mdiArea();
  run->host.windowMenu()->refresh();
  QMenuBar* bar = static_cast<QMainWindow*>(run->host.mainWindow())->menuBar();
  QMenu* menu = bar->actions()[5]->menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), "&Window");
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(texts, (QStringList{"&Open All", "&Arrange Icons", "&Minimize All", "-", "&Auto Arrange on &Resize",
                                "-", "&Tile", "&Cascade", "Ne&xt", "Pre&vious", "-",
                                "&1 Polling and Device Info", "&2 Link Status", "&3 Operational Statistics",
                                "&4 Communications Error Statistics", "&5 Modem Status"}));
  auto action = [&](const QString& text) -> QAction* {
    for (QAction* a : menu->actions())
      if (a->text() == text) return a;
    return nullptr;
  };
  // The check follows the active window.
  EXPECT_TRUE(action("&5 Modem Status")->isChecked());
  EXPECT_FALSE(action("&2 Link Status")->isChecked());
  action("&2 Link Status")->trigger();
  EXPECT_EQ(area->activeSubWindow(), run->sub("Link Status"));
  run->host.windowMenu()->refresh();
  EXPECT_TRUE(action("&2 Link Status")->isChecked());
  action("Ne&xt")->trigger();
  EXPECT_EQ(area->activeSubWindow(), run->sub("Operational Statistics"));
  action("Pre&vious")->trigger();
  EXPECT_EQ(area->activeSubWindow(), run->sub("Link Status"));
  action("&Tile")->trigger();
  for (QMdiSubWindow* w : area->subWindowList())
    EXPECT_TRUE(area->viewport()->rect().contains(w->geometry())) << w->windowTitle().toStdString();

  // The specified items still reach the program.
  action("&Minimize All")->trigger();
  EXPECT_TRUE(run->sub("Link Status")->isMinimized());
}

TEST_F(DailyUseQtTest, EveryKindOfWindowCopiesItsText) {
  auto run = start();
  run->openDevice();
  run->main().onMenuCommand(kMenuOpenAll);
  run->ticks(3);
  const QString link = CopyFrom(run->sub("Link Status"));
  EXPECT_EQ(link, "Channel status\tINACTIVE\nFrames queued for reception\t0\nReceiver status\tDISABLED\n");
  EXPECT_EQ(CopyFrom(run->sub("Modem Status")), "DCD\tLow\nCTS\tLow\n");
  EXPECT_EQ(CopyFrom(run->sub("Polling and Device Info")),
            "Device Name\tTALVSTRM0\nStatus\tOpened\nLast Active Command Result\tSuccess\n");
  const QStringList operational = CopyFrom(run->sub("Operational Statistics")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(operational.size(), 10);
  EXPECT_EQ(operational[0], "Number of frames transmitted\t0");
  EXPECT_EQ(operational[9], "Recieved frames discarded due to excessive length\t0");
  const QStringList errors = CopyFrom(run->sub("Communications Error Statistics")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(errors.size(), 8);
  EXPECT_EQ(errors[7], "Application IRQ timeout count\t0");

  // Receive Detail copies the dump of the last frame.
  run->main().onMenuCommand(kMenuEnableCommunications);
  ReceiveDetailWindow* detail = run->monitor.communications().receiveDetail();
  ASSERT_NE(detail, nullptr);
  ASSERT_TRUE(cardsim::StartGenerator(*simulator_.card(0), {.rate = 100, .size = 20, .count = 1}));
  ASSERT_TRUE(uitest::WaitUntil([&] { return !detail->form().text(ReceiveDetailWindow::kDump).empty(); }, 5000));
  QWidget* detail_window = run->host.qtForm(detail->form())->frame();
  QString dump = QString::fromStdString(detail->form().text(ReceiveDetailWindow::kDump)).remove('\r');
  if (!dump.endsWith('\n')) dump += '\n';
  EXPECT_EQ(CopyFrom(detail_window), dump);
  run->main().onMenuCommand(kMenuDisableCommunications);

  // The memory listing copies its lines.
  QString listing, copied;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(uitest::WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }));
    QWidget* dialog = QApplication::activeModalWidget();
    const QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 2);
    edits[0]->setText("0");
    edits[1]->setText("40");
    uitest::ClickButton(dialog, "&Get Memory");
    auto* list = dialog->findChild<QListWidget*>();
    for (int i = 0; i < list->count(); ++i) listing += list->item(i)->text() + '\n';
    copied = CopyFrom(dialog);
    uitest::ClickButton(dialog, "&Close");
  });
  run->main().onMenuCommand(kMenuMemoryDump);
  EXPECT_FALSE(listing.isEmpty());
  EXPECT_EQ(copied, listing);
  EXPECT_EQ(prompter_.count(), 0u);
}

TEST_F(DailyUseQtTest, ValuesOfACardThatStopsAnsweringAreGreyedAndNamedInTheStatusBar) {
  auto run = start();
  run->host.mainWindow()->resize(1100, 680);
  run->monitor.core().staleNotice().time_of_day = [] { return std::string("10:32:05"); };
  run->openDevice();
  run->main().onMenuCommand(kMenuOpenAll);
  run->ticks(2);
  auto* value = qobject_cast<QLabel*>(run->host.qtForm(*run->monitor.core().windows().form(MonitorKind::LinkStatus))->control(201));
  ASSERT_NE(value, nullptr);
  const QColor normal = value->palette().color(QPalette::Active, QPalette::WindowText);
  QStatusBar* bar = run->host.mainWindow()->findChild<QStatusBar*>();
  EXPECT_FALSE(bar->isVisible());

  for (uint8_t command : {READ_CHDLC_LINK_STATUS, READ_CHDLC_OPERATIONAL_STATS, READ_COMMS_ERROR_STATS,
                          READ_GLOBAL_STATISTICS, READ_MODEM_STATUS})
    simulator_.card(0)->faults().leaveUnanswered(command, cardsim::NoAnswer::kKeepPreset);
  run->ticks(3);
  EXPECT_NE(value->palette().color(QPalette::Active, QPalette::WindowText), normal);
  EXPECT_EQ(value->text(), "INACTIVE");  // the last value stays
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(run->host.statusText(ui::StatusField::Device), "TALVSTRM0 not answering since 10:32:05");
  uitest::LayOutSideBySide(run->host.mdiArea());
  uitest::SaveForDocs(ui::GrabMainWindow(run->host), "stale_window.png");

  simulator_.card(0)->faults().clear();
  run->ticks(1);
  EXPECT_EQ(value->palette().color(QPalette::Active, QPalette::WindowText), normal);
  EXPECT_EQ(run->host.statusText(ui::StatusField::Device), "");
  EXPECT_FALSE(bar->isVisible());
}

TEST_F(DailyUseQtTest, SelectDeviceListsTheCardsAndADoubleClickOpensOne) {
  auto run = start();
  QStringList lines;
  QTimer::singleShot(0, [&] {
    ASSERT_TRUE(uitest::WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }));
    QWidget* dialog = QApplication::activeModalWidget();
    auto* list = dialog->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    EXPECT_EQ(list->accessibleName(), "Devices present:");
    uitest::SaveForDocs(ui::GrabWindow(dialog), "device_picker.png");
    list->setCurrentRow(2);
    emit list->itemDoubleClicked(list->item(2));
  });
  run->main().onMenuCommand(kMenuSelectDevice);
  EXPECT_EQ(lines, (QStringList{"TALVSTRM0\tISA\tFT1 service unit", "TALVSTRM1\tPCI\tT1 front end",
                                "TALVSTRM2\tPCI\tE1 front end", "TALVSTRM3\tPCI\t56K unit"}));
  EXPECT_EQ(run->monitor.core().connection().deviceName(), "TALVSTRM2");
}

TEST_F(DailyUseQtTest, CaptureStatusLineShowsProgressAndOpensTheFolder) {
  auto run = start();
  run->host.mainWindow()->resize(1100, 680);
  QString shown_folder;
  run->host.show_folder = [&](const QString& folder) { shown_folder = folder; };
  run->openDevice();
  run->main().onMenuCommand(kMenuOpenAll);
  run->main().onMenuCommand(kMenuEnableCommunications);
  ReceiveDetailWindow* detail = run->monitor.communications().receiveDetail();
  ASSERT_NE(detail, nullptr);
  prompter_.answerPath((dir_ / "line.pcap").string());
  static_cast<QAbstractButton*>(run->host.qtForm(detail->form())->control(ReceiveDetailWindow::kCapture))->click();
  ASSERT_TRUE(detail->form().isChecked(ReceiveDetailWindow::kCapture));
  ASSERT_TRUE(cardsim::StartGenerator(*simulator_.card(0), {.rate = 200, .size = 32, .count = 40}));
  const auto status = [&] { return run->host.statusText(ui::StatusField::Capture); };
  ASSERT_TRUE(uitest::WaitUntil([&] { return status().find(": 40 frames written") != std::string::npos; }, 8000))
      << status();
  EXPECT_EQ(std::filesystem::file_size(dir_ / "line.pcap"), 24u + 40u * (16u + 32u));
  EXPECT_EQ(status(), "Capturing to line.pcap: 40 frames written (1.9 KB), 0 not written");
  run->ticks(1);
  uitest::LayOutSideBySide(run->host.mdiArea());
  uitest::SaveForDocs(ui::GrabMainWindow(run->host), "capture_status.png");

  QLabel* field = run->host.statusFields()->label(ui::StatusField::Capture);
  ASSERT_TRUE(field->isVisible());
  QTest::mouseClick(field, Qt::LeftButton);
  EXPECT_EQ(shown_folder.toStdString(), dir_.string());
  run->main().onMenuCommand(kMenuDisableCommunications);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(prompter_.count(), 0u);
}

TEST_F(DailyUseQtTest, HexBoxUnderlinesTokensThatAreNotHexadecimal) {
  auto run = start();
  run->openDevice();
  run->main().onMenuCommand(kMenuEnableCommunications);
  run->main().onMenuCommand(kMenuSendFrames);
  SendFramesWindow* send = run->monitor.communications().sendFrames();
  ASSERT_NE(send, nullptr);
  auto* data = qobject_cast<QLineEdit*>(run->host.qtForm(send->form())->control(SendFramesWindow::kData));
  ASSERT_NE(data, nullptr);
  QTest::keyClicks(data, "03 0G CC");
  EXPECT_EQ(data->toolTip(), "'0G' is not hexadecimal; sent as 00");
  ASSERT_EQ(send->form().marks(SendFramesWindow::kData).size(), 1u);
  EXPECT_EQ(data->text(), "03 0G CC");  // marking leaves the text alone
  uitest::SaveForDocs(ui::GrabForm(run->host, send->form()), "send_frames_marked.png");
  QTest::keyClick(data, Qt::Key_Backspace);
  QTest::keyClick(data, Qt::Key_Backspace);
  QTest::keyClick(data, Qt::Key_Backspace);
  QTest::keyClick(data, Qt::Key_Backspace);
  EXPECT_EQ(data->text(), "03 0");
  EXPECT_EQ(data->toolTip(), "");
  run->main().onMenuCommand(kMenuDisableCommunications);
}

}  // namespace
