// The Qt host: main window, menus, loops, timers, modal and modeless forms.

#include "ui/qt/qt_host.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/ui/qt_test_app.h"
#include "tests/ui/sample_form.h"
#include "ui/qt/qt_form.h"
#include "ui/qt/qt_prompter.h"
#include "ui/qt/screenshot.h"

namespace {

using namespace uitest;

struct RecordingMain : ui::MainWindowHandler {
  void onMenuCommand(int id) override {
    commands.push_back(id);
    if (on_command) on_command(id);
  }
  void onPollTimer() override { ++poll_ticks; }
  void onLoopPass() override { ++passes; }
  void onRestored() override { ++restored; }
  void onDestroy() override {
    ++destroyed;
    if (on_destroy) on_destroy();
  }

  std::vector<int> commands;
  std::function<void(int)> on_command;
  std::function<void()> on_destroy;
  int poll_ticks = 0;
  int passes = 0;
  int restored = 0;
  int destroyed = 0;
};

ui::MenuTemplate SampleMenu() {
  return {"MAINMENU",
          {{"&File", {{30, "&Open Device"}, {31, "Cl&ose Device", true}, ui::Separator(), {101, "E&xit"}}},
           {"&Window", {{104, "&Arrange Icons"}, {4, "&Auto Arrange on &Resize"}}},
           {"&Memory Dump", {}, 40019}}};
}

ui::FormTemplate ToolForm(const std::string& name, int x, int y) {
  ui::FormTemplate t;
  t.name = name;
  t.window_class = "TVMN_" + name;
  t.title = name + " Window";
  t.x = x;
  t.y = y;
  t.w = 120;
  t.h = 40;
  t.minimize_box = true;
  t.controls = {ui::Label("Channel status:", 6, 8, 60, 8, 201), ui::Text(201, "?", 70, 8, 40, 8),
                ui::Button(399, "&Close", 35, 22, 50, 14)};
  return t;
}

class QtHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.createMainWindow("Talvlink Test Main", SampleMenu(), main_));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host_.mainWindow()));
  }
  QAction* menuAction(const QString& text) {
    for (QAction* a : host_.mainWindow()->findChildren<QAction*>())
      if (a->text() == text) return a;
    return nullptr;
  }

  ui::QtHost host_;
  RecordingMain main_;
};

TEST_F(QtHostTest, MainWindowHasTitleMenusAndTopEdge) {
  QWidget* w = host_.mainWindow();
  EXPECT_EQ(w->windowTitle(), "Talvlink Test Main");
  EXPECT_EQ(w->accessibleName(), "Talvlink Test Main");
  EXPECT_EQ(w->frameGeometry().top(), 200);
  auto* bar = static_cast<QMainWindow*>(w)->menuBar();
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Window", "&Memory Dump"}));
  EXPECT_FALSE(host_.isMenuEnabled(31));  // greyed in the template
  EXPECT_TRUE(host_.isMenuEnabled(30));
}

TEST_F(QtHostTest, MenuChecksAndGreyingBelongToTheProgram) {
  QAction* arrange = menuAction("&Auto Arrange on &Resize");
  ASSERT_NE(arrange, nullptr);
  EXPECT_FALSE(arrange->isCheckable());
  arrange->trigger();  // as the user choosing it
  EXPECT_EQ(main_.commands, std::vector<int>{4});
  EXPECT_FALSE(host_.isMenuChecked(4));
  EXPECT_FALSE(arrange->isChecked());

  host_.setMenuChecked(4, true);
  EXPECT_TRUE(arrange->isChecked());
  arrange->trigger();
  EXPECT_TRUE(arrange->isChecked()) << "choosing an item must not uncheck it";
  EXPECT_TRUE(host_.isMenuChecked(4));
  host_.setMenuChecked(4, false);
  EXPECT_FALSE(arrange->isChecked());

  host_.setMenuEnabled(30, false);
  EXPECT_FALSE(menuAction("&Open Device")->isEnabled());
  EXPECT_FALSE(host_.isMenuEnabled(30));
  host_.setMenuEnabled(30, true);
  EXPECT_TRUE(host_.isMenuEnabled(30));
}

TEST_F(QtHostTest, TopLevelEntryWithoutItemsIsACommand) {
  QAction* dump = menuAction("&Memory Dump");
  ASSERT_NE(dump, nullptr);
  EXPECT_EQ(dump->menu(), nullptr);
  dump->trigger();
  EXPECT_EQ(main_.commands, std::vector<int>{40019});
  host_.setMenuEnabled(40019, false);
  EXPECT_FALSE(dump->isEnabled());
}

TEST_F(QtHostTest, PollTimerTicksUntilRemoved) {
  EXPECT_TRUE(host_.installPollTimer(20));
  EXPECT_TRUE(WaitUntil([&] { return main_.poll_ticks >= 3; }));
  host_.removePollTimer();
  const int ticks = main_.poll_ticks;
  RunEventsFor(80);
  EXPECT_EQ(main_.poll_ticks, ticks);
}

TEST_F(QtHostTest, NeverWaitingLoopPassesOnlyWhileOn) {
  RunEventsFor(30);
  EXPECT_EQ(main_.passes, 0);
  host_.setNeverWaiting(true);
  EXPECT_TRUE(WaitUntil([&] { return main_.passes > 100; }));
  host_.setNeverWaiting(false);
  const int passes = main_.passes;
  RunEventsFor(30);
  EXPECT_EQ(main_.passes, passes);
}

TEST_F(QtHostTest, LoopPassesGoOnInsideModalDialogsAndMessageBoxes) {
  host_.setNeverWaiting(true);
  RecordingHandler dialog;
  int passes_inside = -1;
  dialog.on_init = [&](ui::Form& f) {
    QTimer::singleShot(0, [&, start = main_.passes] {
      // Inside the dialog's loop: the passes must keep coming.
      WaitUntil([&] { return main_.passes > start + 50; }, 2000);
      passes_inside = main_.passes - start;
      f.endDialog(7);
    });
  };
  EXPECT_EQ(host_.runModal(SampleForm(), dialog), 7);
  EXPECT_GT(passes_inside, 50);

  ui::QtPrompter prompter(host_);
  const int before = main_.passes;
  QTimer::singleShot(50, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
  });
  prompter.show({"Polling goes on.", "Test", ui::Icon::Information});
  EXPECT_GT(main_.passes, before + 10);
  host_.setNeverWaiting(false);
}

TEST_F(QtHostTest, PollTimerTicksInsideAModalDialog) {
  host_.installPollTimer(10);
  RecordingHandler dialog;
  dialog.on_init = [&](ui::Form& f) {
    QTimer::singleShot(0, [&] {
      const int start = main_.poll_ticks;
      WaitUntil([&] { return main_.poll_ticks >= start + 3; });
      f.endDialog(1);
    });
  };
  const int before = main_.poll_ticks;
  EXPECT_EQ(host_.runModal(SampleForm(), dialog), 1);
  EXPECT_GE(main_.poll_ticks, before + 3);
}

TEST_F(QtHostTest, ModalDialogEndsOnlyThroughEndDialog) {
  RecordingHandler dialog;
  dialog.on_command = [&](int id, ui::Notify) {
    if (id == kOk) dialog.form->endDialog(kOk);
  };
  dialog.on_init = [&](ui::Form& f) {
    QTimer::singleShot(0, [&] {
      ui::QtForm* qt = host_.qtForm(f);
      QWidget* window = qt->frame();
      EXPECT_TRUE(window->isModal());
      window->close();                                   // title bar close box
      QTest::keyClick(window, Qt::Key_Escape);           // cancel command, still open
      EXPECT_TRUE(window->isVisible());
      qobject_cast<QLineEdit*>(qt->control(kDeviceName))->setFocus();
      QTest::keyClick(qt->control(kDeviceName), Qt::Key_Return);  // presses the default button
    });
  };
  EXPECT_EQ(host_.runModal(SampleForm(), dialog), kOk);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "close", "clicked 2", "clicked 1"}));
}

TEST_F(QtHostTest, DialogEndedDuringInitNeverShows) {
  RecordingHandler dialog;
  dialog.on_init = [](ui::Form& f) { f.endDialog(42); };
  EXPECT_EQ(host_.runModal(SampleForm(), dialog), 42);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtHostTest, MdiChildIsAFixedSizeSubWindowAtItsTemplatePosition) {
  RecordingHandler tool;
  ui::Form* form = host_.createWindow(ToolForm("LSTAT", 16, 22), tool, ui::WindowKind::MdiChild);
  ASSERT_NE(form, nullptr);
  ui::QtForm* qt = host_.qtForm(*form);
  auto* sub = qobject_cast<QMdiSubWindow*>(qt->frame());
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->mdiArea(), host_.mdiArea());
  EXPECT_TRUE(sub->isVisible());
  EXPECT_EQ(sub->windowTitle(), "LSTAT Window");
  EXPECT_TRUE(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(qt->surface()->minimumSize(), qt->surface()->maximumSize());
  // A frame the user may resize shows the resize cursor over its corner.
  const QPoint corner(sub->width() - 2, sub->height() - 2);
  QMouseEvent hover(QEvent::MouseMove, QPointF(corner), sub->mapToGlobal(QPointF(corner)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(sub, &hover);
  EXPECT_NE(sub->cursor().shape(), Qt::SizeFDiagCursor) << "the user cannot resize it";
  EXPECT_GT(sub->pos().x(), 0);
  EXPECT_GT(sub->pos().y(), 0);
  EXPECT_EQ(tool.events, std::vector<std::string>{"init"});
}

TEST_F(QtHostTest, MinimizeRestoreAndArrangeIcons) {
  RecordingHandler a, b, c;
  ui::Form* fa = host_.createWindow(ToolForm("A", 10, 10), a, ui::WindowKind::MdiChild);
  ui::Form* fb = host_.createWindow(ToolForm("B", 60, 40), b, ui::WindowKind::MdiChild);
  ui::Form* fc = host_.createWindow(ToolForm("C", 120, 20), c, ui::WindowKind::MdiChild);
  fa->minimize();
  fc->minimize();
  EXPECT_TRUE(fa->isMinimized());
  EXPECT_FALSE(fb->isMinimized());
  // Scatter the icons, then arrange them.
  host_.qtForm(*fa)->frame()->move(200, 30);
  host_.qtForm(*fc)->frame()->move(5, 70);
  host_.arrangeIcons();
  QWidget* ia = host_.qtForm(*fa)->frame();
  QWidget* ic = host_.qtForm(*fc)->frame();
  const int bottom = host_.mdiArea()->viewport()->height();
  EXPECT_EQ(ia->geometry().bottom() + 1, bottom);
  EXPECT_EQ(ic->geometry().bottom() + 1, bottom);
  EXPECT_EQ(ia->x(), 0);
  EXPECT_EQ(ic->x(), ia->width());
  SaveForDocs(ui::GrabMainWindow(host_), "main_window.png");

  fa->restore();
  EXPECT_FALSE(fa->isMinimized());
  fb->bringToTop();
  EXPECT_EQ(host_.mdiArea()->activeSubWindow(), host_.qtForm(*fb)->frame());
}

TEST_F(QtHostTest, RestoredReportedWhenTheMainWindowTakesANormalSize) {
  QWidget* w = host_.mainWindow();
  w->showMinimized();
  const int before = main_.restored;
  w->showNormal();
  EXPECT_TRUE(WaitUntil([&] { return main_.restored > before; }));
}

TEST_F(QtHostTest, SeparateWindowsOwnedOrNot) {
  RecordingHandler owned, free;
  ui::Form* popup = host_.createWindow(ToolForm("P", 0, 0), owned, ui::WindowKind::OwnedPopup);
  ui::Form* top = host_.createWindow(ToolForm("T", 0, 0), free, ui::WindowKind::TopLevel);
  QWidget* pw = host_.qtForm(*popup)->frame();
  QWidget* tw = host_.qtForm(*top)->frame();
  EXPECT_TRUE(pw->isWindow());
  EXPECT_EQ(pw->parentWidget(), host_.mainWindow());
  EXPECT_TRUE(tw->isWindow());
  EXPECT_EQ(tw->parentWidget(), nullptr);
  pw->close();
  EXPECT_TRUE(pw->isVisible()) << "the close box only asks";
  EXPECT_EQ(owned.events.back(), "close");

  top->minimize();
  EXPECT_TRUE(top->isMinimized());
  top->restore();
  EXPECT_FALSE(top->isMinimized());

  // A message box owned by a form's window.
  ui::QtPrompter prompter(host_);
  QWidget* owner = nullptr;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    owner = box->parentWidget();
    box->accept();
  });
  EXPECT_EQ(prompter.show({"T1 Status Error", "x", ui::Icon::Error, ui::Buttons::Ok, ui::Owner::Form, popup}),
            ui::Answer::Ok);
  EXPECT_EQ(owner, pw);
}

TEST_F(QtHostTest, DestroyWindowFromItsOwnHandler) {
  RecordingHandler tool;
  ui::Form* form = host_.createWindow(ToolForm("LSTAT", 0, 0), tool, ui::WindowKind::MdiChild);
  tool.on_command = [&](int id, ui::Notify) {
    if (id != 399) return;
    host_.destroyWindow(*tool.form);
    tool.form->setText(201, "still safe");  // within the same event
  };
  QPointer<QWidget> frame = host_.qtForm(*form)->frame();
  host_.startTimer(*form, 5, 10);
  host_.postCloseRequest(*form);
  qobject_cast<QPushButton*>(host_.qtForm(*form)->control(399))->click();
  EXPECT_EQ(host_.qtForm(*form), nullptr);
  EXPECT_FALSE(frame->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(frame.isNull()) << "deleted once the event was handled";
  RunEventsFor(30);
  EXPECT_EQ(tool.events, (std::vector<std::string>{"init", "clicked 399"}));
}

TEST_F(QtHostTest, WindowTimersRestartAndStop) {
  RecordingHandler tool;
  ui::Form* form = host_.createWindow(ToolForm("T1", 0, 0), tool, ui::WindowKind::TopLevel);
  int fives = 0, sixes = 0;
  tool.on_timer = [&](int id) { (id == 5 ? fives : sixes)++; };
  EXPECT_TRUE(host_.startTimer(*form, 5, 10));
  EXPECT_TRUE(host_.startTimer(*form, 6, 15));
  EXPECT_TRUE(WaitUntil([&] { return fives >= 3 && sixes >= 2; }));
  host_.stopTimer(*form, 5);
  const int stopped_at = fives;
  RunEventsFor(50);
  EXPECT_EQ(fives, stopped_at);
  EXPECT_GT(sixes, 2);
}

TEST_F(QtHostTest, PostedCloseRequestReachesOnlyALiveWindow) {
  RecordingHandler tool;
  ui::Form* form = host_.createWindow(ToolForm("T", 0, 0), tool, ui::WindowKind::MdiChild);
  host_.postCloseRequest(*form);
  EXPECT_EQ(tool.events.back(), "init") << "delivered later, not at once";
  EXPECT_TRUE(WaitUntil([&] { return tool.events.back() == "close"; }));
}

TEST_F(QtHostTest, PostRunsOnTheUiThreadFromAnyThread) {
  const std::thread::id ui_thread = std::this_thread::get_id();
  std::atomic<int> ran{0};
  std::atomic<bool> wrong_thread{false};
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i)
      host_.post([&] {
        if (std::this_thread::get_id() != ui_thread) wrong_thread = true;
        ++ran;
      });
  });
  worker.join();
  EXPECT_TRUE(WaitUntil([&] { return ran == 100; }));
  EXPECT_FALSE(wrong_thread);
}

TEST_F(QtHostTest, ClosingTheMainWindowDestroysToolWindowsAfterOnDestroy) {
  RecordingHandler mdi, popup, top;
  host_.createWindow(ToolForm("M", 0, 0), mdi, ui::WindowKind::MdiChild);
  host_.createWindow(ToolForm("P", 0, 0), popup, ui::WindowKind::OwnedPopup);
  ui::Form* top_form = host_.createWindow(ToolForm("T", 0, 0), top, ui::WindowKind::TopLevel);
  bool children_alive_in_destroy = false;
  main_.on_destroy = [&] {
    children_alive_in_destroy = host_.qtForm(*mdi.form) != nullptr;
    host_.quit(3);
  };
  host_.closeMainWindow();
  EXPECT_EQ(main_.destroyed, 0) << "a close request is handled later";
  EXPECT_EQ(host_.run(), 3);
  EXPECT_EQ(main_.destroyed, 1);
  EXPECT_TRUE(children_alive_in_destroy);
  EXPECT_EQ(host_.mainWindow(), nullptr);
  EXPECT_EQ(host_.qtForm(*mdi.form), nullptr);
  EXPECT_EQ(host_.qtForm(*popup.form), nullptr);
  EXPECT_NE(host_.qtForm(*top_form), nullptr);
  host_.closeMainWindow();
  RunEventsFor(20);
  EXPECT_EQ(main_.destroyed, 1) << "only once";
}

TEST_F(QtHostTest, QuitBeforeRunEndsAtOnce) {
  host_.quit(5);
  EXPECT_EQ(host_.run(), 5);
}

TEST_F(QtHostTest, PrompterShowsPlainTextWithButtonsAndOwner) {
  ui::QtPrompter prompter(host_);
  QString text;
  QWidget* owner = nullptr;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    text = box->text();
    format = box->textFormat();
    owner = box->parentWidget();
    icon = box->icon();
    box->button(QMessageBox::Retry)->click();
  });
  ui::Prompt p{"<b>Unable</b> to open", "Open Device", ui::Icon::Warning, ui::Buttons::RetryCancel};
  EXPECT_EQ(prompter.show(p), ui::Answer::Retry);
  EXPECT_EQ(text, "<b>Unable</b> to open");
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(owner, host_.mainWindow());
  EXPECT_EQ(icon, QMessageBox::Warning);

  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    owner = box->parentWidget();
    icon = box->icon();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  p.owner = ui::Owner::None;
  p.icon = ui::Icon::Error;
  EXPECT_EQ(prompter.show(p), ui::Answer::Cancel);
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(icon, QMessageBox::Critical);
}

}  // namespace
