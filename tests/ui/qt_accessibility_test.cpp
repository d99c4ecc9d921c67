// What assistive technology and the keyboard get from a form: readable
// values and lights, toggles that reach the logic, windows as windows,
// Enter and Esc.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/ui/qt_test_app.h"
#include "tests/ui/sample_form.h"
#include "ui/qt/qt_form.h"
#include "ui/qt/qt_host.h"

namespace {

using namespace uitest;
using Events = std::vector<std::string>;

struct NoMain : ui::MainWindowHandler {
  void onMenuCommand(int) override {}
  void onPollTimer() override {}
  void onLoopPass() override {}
  void onRestored() override {}
  void onDestroy() override {}
};

QAccessibleInterface* Accessible(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }

QString NameOf(QWidget* widget) { return Accessible(widget)->text(QAccessible::Name); }

void Act(QWidget* widget, const QString& action) {
  QAccessibleActionInterface* actions = Accessible(widget)->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_TRUE(actions->actionNames().contains(action)) << action.toStdString();
  actions->doAction(action);
}

class QtAccessibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.createMainWindow("Main", {"MAINMENU", {}}, main_));
    form_ = host_.createWindow(SampleForm(), handler_, ui::WindowKind::MdiChild);
    ASSERT_NE(form_, nullptr);
    qt_ = host_.qtForm(*form_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host_.mainWindow()));
    handler_.events.clear();
  }

  ui::QtHost host_;
  NoMain main_;
  RecordingHandler handler_;
  ui::Form* form_ = nullptr;
  ui::QtForm* qt_ = nullptr;
};

TEST_F(QtAccessibilityTest, ValuesAreReadByThemselvesAndFoundByTheirCaption) {
  form_->setText(kChannel, "ACTIVE");
  form_->setText(kQueued, "70000");
  EXPECT_EQ(NameOf(qt_->control(kChannel)), "ACTIVE");
  EXPECT_EQ(NameOf(qt_->control(kQueued)), "70000");
  const auto captions = Accessible(qt_->control(kQueued))->relations(QAccessible::Label);
  ASSERT_EQ(captions.size(), 1);
  EXPECT_EQ(captions.front().first->text(QAccessible::Name), "Frames queued:");
  // Controls the user works still go by their caption.
  EXPECT_EQ(NameOf(qt_->control(kDeviceName)), "Device name:");
}

// Announcing a change is the bus's part: the AT-SPI check listens for it.
TEST_F(QtAccessibilityTest, LightsSayWhichAndWhatTheyShow) {
  EXPECT_EQ(NameOf(qt_->control(kOofLight)), "OOF: off");
  form_->setLight(kOofLight, ui::LightColour::Red);
  form_->setLight(kAisLight, ui::LightColour::Green);
  EXPECT_EQ(NameOf(qt_->control(kOofLight)), "OOF: red");
  EXPECT_EQ(NameOf(qt_->control(kAisLight)), "AIS: green");
  EXPECT_EQ(NameOf(qt_->control(kRedLight)), "RED: off");
}

TEST_F(QtAccessibilityTest, TogglesFromAssistiveTechnologyReachTheLogicOnce) {
  Act(qt_->control(kEnableTimer), QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(form_->isChecked(kEnableTimer));
  Act(qt_->control(kEnableTimer), QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(form_->isChecked(kEnableTimer));
  // Switching a radio group reports the newly chosen button only.
  form_->setChecked(kT1, true);
  Act(qt_->control(kE1), QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(form_->isChecked(kE1));
  EXPECT_FALSE(form_->isChecked(kT1));
  // A button only the program checks reports the wish and stays as it was.
  Act(qt_->control(kPoll), QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(form_->isChecked(kPoll));
  EXPECT_EQ(handler_.events, (Events{"clicked 401", "clicked 401", "clicked 412", "clicked 420"}));
}

TEST_F(QtAccessibilityTest, ComboLineChosenByAssistiveTechnologyReachesTheLogic) {
  for (const char* line : {"ESF", "D4", "Unframed"}) form_->listAdd(kFraming, line);
  auto* combo = qobject_cast<QComboBox*>(qt_->control(kFraming));
  QAccessibleInterface* lines = Accessible(combo->view());
  ASSERT_NE(lines, nullptr);
  QAccessibleInterface* d4 = nullptr;
  for (int i = 0; i < lines->childCount(); ++i)
    if (lines->child(i)->text(QAccessible::Name) == "D4") d4 = lines->child(i);
  ASSERT_NE(d4, nullptr);
  ASSERT_NE(d4->actionInterface(), nullptr);
  d4->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(form_->text(kFraming), "D4");
  EXPECT_EQ(handler_.events, (Events{"selection 601"}));
}

TEST_F(QtAccessibilityTest, KeyboardAndMouseTogglesAreReportedOnce) {
  QWidget* box = qt_->control(kEnableTimer);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::mouseClick(qt_->control(k56K), Qt::LeftButton);
  std::erase(handler_.events, "mouse");
  EXPECT_EQ(handler_.events, (Events{"clicked 401", "clicked 401", "clicked 413"}));
  EXPECT_FALSE(form_->isChecked(kEnableTimer));
}

TEST_F(QtAccessibilityTest, ChildWindowsAndDialogsHaveWindowRolesAndTitles) {
  QAccessibleInterface* child = Accessible(qt_->frame());
  EXPECT_EQ(child->role(), QAccessible::Window);
  EXPECT_EQ(child->text(QAccessible::Name), "Sample <i>Window</i>");
  RecordingHandler popup_handler;
  ui::Form* popup = host_.createWindow(SampleForm(), popup_handler, ui::WindowKind::OwnedPopup);
  popup->setTitle("T1/E1 Tests");
  QAccessibleInterface* separate = Accessible(host_.qtForm(*popup)->frame());
  EXPECT_EQ(separate->role(), QAccessible::Window);
  EXPECT_EQ(separate->text(QAccessible::Name), "T1/E1 Tests");

  RecordingHandler dialog;
  QAccessible::Role role = QAccessible::NoRole;
  dialog.on_init = [&](ui::Form& f) {
    role = Accessible(host_.qtForm(f)->frame())->role();
    f.endDialog(0);
  };
  host_.runModal(SampleForm(), dialog);
  EXPECT_EQ(role, QAccessible::Dialog);
}

// A window whose only default button is hidden, which Enter still presses.
ui::FormTemplate StatusForm() {
  ui::FormTemplate t;
  t.name = "T1STATUS";
  t.title = "Status";
  t.w = 120;
  t.h = 40;
  t.controls = {ui::Button(1039, "SELECT", 4, 4, 40, 14),
                ui::Button(399, "", 0, 0, 1, 1).with(ui::kDefaultButton | ui::kHidden)};
  return t;
}

TEST_F(QtAccessibilityTest, EnterInAToolWindowPressesItsDefaultButtonEvenAHiddenOne) {
  RecordingHandler status;
  ui::Form* form = host_.createWindow(StatusForm(), status, ui::WindowKind::MdiChild);
  ui::QtForm* qt = host_.qtForm(*form);
  host_.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(qt->frame()));
  qt->control(1039)->setFocus();  // where the focus lands when the window opens
  status.events.clear();
  QTest::keyClick(qt->control(1039), Qt::Key_Return);
  QTest::keyClick(qt->frame(), Qt::Key_Return);
  EXPECT_EQ(status.events, (Events{"clicked 399", "clicked 399"}));
  // In the sample the line edit passes Enter on to the visible default button.
  qt_->control(kDeviceName)->setFocus();
  QTest::keyClick(qt_->control(kDeviceName), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(handler_.events, (Events{"clicked 1"}));
}

// A dialog that ends through its "&Close" button (not id 2) or close box.
struct ClosingDialog : RecordingHandler {
  void onCommand(int id, ui::Notify notify) override {
    RecordingHandler::onCommand(id, notify);
    if (id == 399) form->endDialog(399);
  }
};

TEST_F(QtAccessibilityTest, EscPressesTheCloseButtonOfADialogWithoutCancel) {
  ui::FormTemplate t;
  t.name = "MEMORYDUMP";
  t.w = 120;
  t.h = 60;
  t.controls = {ui::Button(1, "&Get Memory", 4, 4, 50, 14).with(ui::kDefaultButton),
                ui::Button(398, "&Save Dump", 4, 22, 50, 14), ui::Button(399, "&Close", 60, 22, 50, 14)};
  ClosingDialog dialog;
  dialog.on_init = [&](ui::Form& f) {
    QTimer::singleShot(0, [&] { QTest::keyClick(host_.qtForm(f)->frame(), Qt::Key_Escape); });
  };
  EXPECT_EQ(host_.runModal(t, dialog), 399);
  EXPECT_EQ(dialog.events, (Events{"init", "clicked 399"}));
}

TEST_F(QtAccessibilityTest, DialogsBelongToTheMainWindowWhicheverWindowIsActive) {
  RecordingHandler popup_handler;
  ui::Form* popup = host_.createWindow(StatusForm(), popup_handler, ui::WindowKind::OwnedPopup);
  QWidget* popup_frame = host_.qtForm(*popup)->frame();
  QApplication::setActiveWindow(popup_frame);
  ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == popup_frame; }));
  RecordingHandler dialog, inner;
  QWidget* owner = nullptr;
  QWidget* inner_owner = nullptr;
  QWidget* dialog_frame = nullptr;
  inner.on_init = [&](ui::Form& f) {
    inner_owner = host_.qtForm(f)->frame()->parentWidget();
    f.endDialog(0);
  };
  dialog.on_init = [&](ui::Form& f) {
    dialog_frame = host_.qtForm(f)->frame();
    owner = dialog_frame->parentWidget();
    QTimer::singleShot(0, [&] {
      host_.runModal(StatusForm(), inner);
      f.endDialog(0);
    });
  };
  host_.runModal(StatusForm(), dialog);
  EXPECT_EQ(owner, host_.mainWindow());
  EXPECT_EQ(inner_owner, dialog_frame) << "a dialog from a dialog sits on it";
}

TEST_F(QtAccessibilityTest, IconsStayWhereTheUserLeftThemWhenTheMainWindowIsResized) {
  form_->minimize();
  QWidget* icon = qt_->frame();
  icon->move(40, 30);
  const QPoint left_at = icon->pos();
  host_.mainWindow()->resize(host_.mainWindow()->width() - 120, host_.mainWindow()->height() - 80);
  RunEventsFor(20);
  EXPECT_EQ(icon->pos(), left_at);
  host_.arrangeIcons();
  EXPECT_EQ(icon->geometry().bottom() + 1, host_.mdiArea()->viewport()->height()) << "arranging still moves them";
}

}  // namespace
