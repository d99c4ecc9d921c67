// What reaches a form's handler: the user's actions, never the program's.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
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

class QtFormEventsTest : public ::testing::Test {
 protected:
  void open(ui::FormTemplate t) {
    form_ = host_.createWindow(t, handler_, ui::WindowKind::TopLevel);
    ASSERT_NE(form_, nullptr);
    qt_ = host_.qtForm(*form_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(qt_->frame()));
    handler_.events.clear();
  }
  void SetUp() override { open(SampleForm()); }

  ui::QtHost host_;
  RecordingHandler handler_;
  ui::Form* form_ = nullptr;
  ui::QtForm* qt_ = nullptr;
};

TEST_F(QtFormEventsTest, ProgramChangesRaiseNoEvents) {
  form_->setText(kChannel, "ACTIVE");
  form_->setChecked(kEnableTimer, true);
  form_->setChecked(kE1, true);
  form_->setChecked(kPoll, true);
  for (const char* line : {"x", "y", "z"}) {
    form_->listAdd(kSortedList, line);
    form_->listAdd(kFraming, line);
  }
  form_->listSelect(kSortedList, 1);
  form_->listDelete(kSortedList, 1);
  form_->listSelect(kFraming, 2);
  form_->setText(kFraming, "x");
  form_->listClear(kSortedList);
  form_->setLight(kOofLight, ui::LightColour::Green);
  RunEventsFor(10);
  EXPECT_EQ(handler_.events, Events{});
}

TEST_F(QtFormEventsTest, UserClicksAndSelections) {
  QTest::mouseClick(qt_->control(kOk), Qt::LeftButton);
  QTest::mouseClick(qt_->control(kEnableTimer), Qt::LeftButton);
  QTest::mouseClick(qt_->control(kE1), Qt::LeftButton);
  QTest::mouseClick(qt_->control(kPoll), Qt::LeftButton);
  QTest::mouseClick(qt_->control(kDisabledButton), Qt::LeftButton);  // disabled: nothing

  for (const char* line : {"a", "b", "c"}) form_->listAdd(kSortedList, line);
  auto* list = qobject_cast<QListWidget*>(qt_->control(kSortedList));
  const QRect second = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(form_->listSelection(kSortedList), 1);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());

  form_->listAdd(kFraming, "ESF");
  form_->listAdd(kFraming, "D4");
  auto* combo = qobject_cast<QComboBox*>(qt_->control(kFraming));
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(form_->text(kFraming), "ESF");

  std::erase(handler_.events, "mouse");
  EXPECT_EQ(handler_.events, (Events{"clicked 1", "clicked 401", "clicked 412", "clicked 420", "selection 501",
                                     "double 501", "selection 601"}));
}

TEST_F(QtFormEventsTest, MousePressAnywhereInTheWindowOnce) {
  QTest::mousePress(qt_->surface(), Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseRelease(qt_->surface(), Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mousePress(qt_->control(kChannel), Qt::LeftButton);  // a label: passed on to the parent
  QTest::mouseRelease(qt_->control(kChannel), Qt::LeftButton);
  QTest::mousePress(qt_->control(kCancel), Qt::LeftButton);
  QTest::mouseRelease(qt_->control(kCancel), Qt::LeftButton);
  QTest::mousePress(qt_->surface(), Qt::RightButton, {}, QPoint(2, 2));
  QTest::mouseRelease(qt_->surface(), Qt::RightButton, {}, QPoint(2, 2));
  EXPECT_EQ(handler_.events, (Events{"mouse", "mouse", "mouse", "clicked 2"}));
}

TEST_F(QtFormEventsTest, ContextMenuEntryDeliversItsCommand) {
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->setActiveAction(menu->actions().front());
    QTest::keyClick(menu, Qt::Key_Return);
  });
  QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), qt_->surface()->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(qt_->surface(), &event);
  EXPECT_EQ(handler_.events, Events{"clicked 16"});
}

TEST_F(QtFormEventsTest, CloseBoxAsksAndTheWindowStays) {
  qt_->frame()->close();
  EXPECT_TRUE(qt_->frame()->isVisible());
  EXPECT_EQ(handler_.events, Events{"close"});
}

TEST_F(QtFormEventsTest, RawKeyFormGetsEveryKeyAndKeepsTheFocus) {
  ui::FormTemplate t;
  t.name = "ADVANCED_FT1_CONFIG";
  t.title = "Advanced T1 Configuration";
  t.w = 200;
  t.h = 100;
  t.raw_keys = true;
  t.controls = {ui::ListBox(1066, 4, 4, 192, 70).with(ui::kDisabled | ui::kTabStops),
                ui::Button(399, "CLOSE", 75, 80, 50, 14)};
  host_.destroyWindow(*form_);
  open(t);
  QWidget* surface = qt_->surface();
  surface->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return surface->hasFocus(); }));
  QTest::keyClicks(surface, "1a");
  for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Backspace})
    QTest::keyClick(surface, key);
  QTest::keyClick(surface, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(surface->hasFocus());
  QTest::mouseClick(qt_->control(399), Qt::LeftButton);
  EXPECT_TRUE(surface->hasFocus()) << "the button does not take the focus";
  std::erase(handler_.events, "mouse");
  EXPECT_EQ(handler_.events, (Events{"char 49", "char 97", "char 9", "char 13", "char 27", "char 8", "char 3",
                                     "clicked 399"}));
}

TEST_F(QtFormEventsTest, NoEventsAfterDestroy) {
  host_.startTimer(*form_, 1, 10);
  host_.postCloseRequest(*form_);
  auto* ok = qobject_cast<QPushButton*>(qt_->control(kOk));
  host_.destroyWindow(*form_);
  ok->click();
  RunEventsFor(40);
  EXPECT_EQ(handler_.events, Events{});
}

}  // namespace

namespace {

// Edits report typing only when their template asks for it, and never the
// program's own changes.
TEST(QtFormEditsTest, TypingIsReportedOnlyForEditsThatAskForIt) {
  ui::FormTemplate t = SampleForm();
  for (ui::ControlTemplate& c : t.controls)
    if (c.id == kDeviceName) c.style |= ui::kNotifyEdits;
  ui::QtHost host;
  RecordingHandler handler;
  ui::Form* form = host.createWindow(t, handler, ui::WindowKind::TopLevel);
  ASSERT_NE(form, nullptr);
  ui::QtForm* qt = host.qtForm(*form);
  handler.events.clear();
  QTest::keyClicks(qt->control(kDeviceName), "ab");
  QTest::keyClicks(qt->control(kInterval), "5");
  form->setText(kDeviceName, "xyz");
  EXPECT_EQ(handler.events, (Events{"edited 301", "edited 301"}));
}

// Stale values are greyed but stay readable, and the logic's view of the
// controls does not change.
TEST(QtFormEditsTest, StaleGreysTheValuesOnly) {
  ui::QtHost host;
  RecordingHandler handler;
  ui::Form* form = host.createWindow(SampleForm(), handler, ui::WindowKind::TopLevel);
  ASSERT_NE(form, nullptr);
  ui::QtForm* qt = host.qtForm(*form);
  form->setText(kChannel, "ACTIVE");
  QWidget* value = qt->control(kChannel);
  const QColor normal = value->palette().color(QPalette::Active, QPalette::WindowText);
  form->setStale(true);
  EXPECT_TRUE(form->isStale());
  EXPECT_NE(value->palette().color(QPalette::Active, QPalette::WindowText), normal);
  EXPECT_TRUE(form->isEnabled(kChannel));
  EXPECT_EQ(form->text(kChannel), "ACTIVE");
  form->setStale(false);
  EXPECT_EQ(value->palette().color(QPalette::Active, QPalette::WindowText), normal);
}

}  // namespace
