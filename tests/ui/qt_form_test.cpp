// Controls of a Qt form: what the logic sets is what the widgets show.

#include "ui/qt/qt_form.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/ui/qt_test_app.h"
#include "tests/ui/sample_form.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/form_fonts.h"
#include "ui/qt/screenshot.h"
#include "ui/qt/tab_stop_delegate.h"

namespace {

using namespace uitest;
using ui::LightColour;

class QtFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = host_.createWindow(SampleForm(), handler_, ui::WindowKind::TopLevel);
    ASSERT_NE(form_, nullptr);
    qt_ = host_.qtForm(*form_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(qt_->frame()));
  }

  template <class W>
  W* widget(int id) {
    auto* w = qobject_cast<W*>(qt_->control(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
  }
  QLabel* labelNaming(int id) {
    for (QLabel* label : qt_->surface()->findChildren<QLabel*>())
      if (label->buddy() == qt_->control(id)) return label;
    return nullptr;
  }

  ui::QtHost host_;
  RecordingHandler handler_;
  ui::Form* form_ = nullptr;
  ui::QtForm* qt_ = nullptr;
};

TEST_F(QtFormTest, RendersEveryControlKind) {
  form_->setText(kChannel, "ACTIVE");
  form_->setLight(kOofLight, LightColour::Red);
  form_->setLight(kRedLight, LightColour::Green);
  for (const char* line : {"TALVSTRM3", "TALVSTRM1", "TALVSTRM2"}) form_->listAdd(kSortedList, line);
  form_->listSelect(kSortedList, 1);
  form_->listAdd(kColumnList, "TALVSTRM0\tIO_Port: 0x360");
  form_->listAdd(kColumnList, "TALVSTRM15\tBusNumber: 2");
  for (const char* f : {"ESF", "D4"}) form_->listAdd(kFraming, f);
  form_->listSelect(kFraming, 0);
  form_->setText(kDetail, "0000  7E FF 03 00 - 01 02\r\n0010  AA\r\n");
  form_->setChecked(kE1, true);
  form_->setChecked(kEnableTimer, true);
  const QImage image = ui::GrabForm(host_, *form_);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), qt_->frame()->size() * image.devicePixelRatio());
  SaveForDocs(image, "sample_form.png");
}

TEST_F(QtFormTest, TextsAreShownAsPlainText) {
  auto* markup = widget<QLabel>(kMarkup);
  EXPECT_EQ(markup->textFormat(), Qt::PlainText);
  EXPECT_EQ(markup->text(), "<b>x</b>");
  form_->setText(kChannel, "<i>ACTIVE</i> & ok");
  EXPECT_EQ(widget<QLabel>(kChannel)->text(), "<i>ACTIVE</i> & ok");
  EXPECT_EQ(form_->text(kChannel), "<i>ACTIVE</i> & ok");
  form_->setText(kChannel, "Gr\xC3\xBC\xC3\x9F" "e");  // UTF-8
  EXPECT_EQ(widget<QLabel>(kChannel)->text(), QString::fromUtf8("Grüße"));
  EXPECT_EQ(qt_->frame()->windowTitle(), "Sample <i>Window</i>");
  for (QLabel* label : qt_->surface()->findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
  }
}

TEST_F(QtFormTest, LabelsAreBuddiesAndNameTheirControls) {
  QLabel* device_label = labelNaming(kDeviceName);
  ASSERT_NE(device_label, nullptr);
  EXPECT_EQ(device_label->text(), "&Device name:");  // drawn with its mnemonic
  EXPECT_EQ(qt_->control(kDeviceName)->accessibleName(), "Device name:");
  EXPECT_EQ(qt_->control(kOofLight)->accessibleName(), "OOF: off");
  EXPECT_EQ(qt_->control(kSortedList)->accessibleName(), "Sorted:");
  EXPECT_EQ(qt_->control(kEnableTimer)->accessibleName(), "Enable timer");
  EXPECT_EQ(qt_->control(kOk)->accessibleName(), "OK");
  EXPECT_EQ(qobject_cast<QComboBox*>(qt_->control(kFraming))->view()->accessibleName(),
            qt_->control(kFraming)->accessibleName());
  EXPECT_EQ(qt_->frame()->accessibleName(), "Sample <i>Window</i>");
  form_->setTitle("Renamed");
  EXPECT_EQ(qt_->frame()->windowTitle(), "Renamed");
  EXPECT_EQ(qt_->frame()->accessibleName(), "Renamed");
  EXPECT_EQ(form_->title(), "Renamed");

  // The mnemonic moves the focus to the buddy.
  qt_->frame()->activateWindow();
  QTest::keyClick(qt_->frame(), Qt::Key_D, Qt::AltModifier);
  EXPECT_TRUE(WaitUntil([&] { return qt_->control(kDeviceName)->hasFocus(); }));
}

TEST_F(QtFormTest, RenamingALabelRenamesItsControl) {
  ui::FormTemplate t;
  t.name = "TE1ALARMS";
  t.w = 100;
  t.h = 30;
  ui::ControlTemplate label = ui::Label("OOF Error Count: ", 4, 4, 60, 8, 1026);
  label.id = 1029;
  t.controls = {label, ui::Text(1026, "?", 66, 4, 30, 8)};
  RecordingHandler handler;
  ui::Form* form = host_.createWindow(t, handler, ui::WindowKind::TopLevel);
  form->setText(1029, "Far End Block Count");
  QAccessibleInterface* value = QAccessible::queryAccessibleInterface(host_.qtForm(*form)->control(1026));
  const auto captions = value->relations(QAccessible::Label);
  ASSERT_EQ(captions.size(), 1);
  EXPECT_EQ(captions.front().first->text(QAccessible::Name), "Far End Block Count");
  EXPECT_EQ(qobject_cast<QLabel*>(host_.qtForm(*form)->control(1029))->text(), "Far End Block Count");
}

TEST_F(QtFormTest, UnlabelledListIsNamedAfterItsWindow) {
  ui::FormTemplate t;
  t.name = "FT1TERM";
  t.title = "Advanced T1 Configuration";
  t.w = 100;
  t.h = 60;
  t.controls = {ui::ListBox(102, 4, 4, 90, 50)};
  RecordingHandler handler;
  ui::Form* form = host_.createWindow(t, handler, ui::WindowKind::TopLevel);
  EXPECT_EQ(host_.qtForm(*form)->control(102)->accessibleName(), "Advanced T1 Configuration");
}

TEST_F(QtFormTest, ChecksRadioGroupsAndManualButtons) {
  form_->setChecked(kT1, true);
  form_->setChecked(kE1, true);
  EXPECT_FALSE(form_->isChecked(kT1)) << "one button of a group at a time";
  EXPECT_TRUE(form_->isChecked(kE1));
  form_->setChecked(kE1, false);
  EXPECT_FALSE(form_->isChecked(kE1)) << "the program may clear the whole group";

  // A user click on an automatic radio button moves the group's check.
  widget<QRadioButton>(k56K)->click();
  EXPECT_TRUE(form_->isChecked(k56K));
  widget<QRadioButton>(kT1)->click();
  EXPECT_TRUE(form_->isChecked(kT1));
  EXPECT_FALSE(form_->isChecked(k56K));

  // A manual, push-like button: a click is reported but changes nothing.
  auto* poll = widget<QPushButton>(kPoll);
  EXPECT_TRUE(poll->isCheckable());
  poll->click();
  EXPECT_FALSE(form_->isChecked(kPoll));
  form_->setChecked(kPoll, true);
  poll->click();
  EXPECT_TRUE(form_->isChecked(kPoll));
  EXPECT_TRUE(form_->isChecked(kT1)) << "not part of the T1/E1/56K group";

  widget<QCheckBox>(kEnableTimer)->click();
  EXPECT_TRUE(form_->isChecked(kEnableTimer));
  form_->setChecked(kEnableTimer, false);
  EXPECT_FALSE(widget<QCheckBox>(kEnableTimer)->isChecked());
}

TEST_F(QtFormTest, SortedListsKeepByteOrderAndReportIndexes) {
  EXPECT_EQ(form_->listAdd(kSortedList, "b"), 0);
  EXPECT_EQ(form_->listAdd(kSortedList, "a"), 0);
  EXPECT_EQ(form_->listAdd(kSortedList, "c"), 2);
  EXPECT_EQ(form_->listAdd(kSortedList, "B"), 0);
  EXPECT_EQ(form_->listAdd(kSortedList, "b"), 3) << "after an equal line";
  std::vector<std::string> lines;
  for (int i = 0; i < form_->listCount(kSortedList); ++i) lines.push_back(form_->listText(kSortedList, i));
  EXPECT_EQ(lines, (std::vector<std::string>{"B", "a", "b", "b", "c"}));
  EXPECT_EQ(form_->listText(kSortedList, 9), "");
}

TEST_F(QtFormTest, ListSelectionInsertAndDelete) {
  for (const char* line : {"one", "two", "three"}) form_->listAdd(kColumnList, line);  // unsorted
  EXPECT_EQ(form_->listText(kColumnList, 2), "three");
  form_->listInsert(kColumnList, 1, "new");
  form_->listInsert(kColumnList, 99, "end");
  EXPECT_EQ(form_->listText(kColumnList, 1), "new");
  EXPECT_EQ(form_->listText(kColumnList, 4), "end");
  form_->listSelect(kColumnList, 2);
  EXPECT_EQ(form_->listSelection(kColumnList), -1) << "a no-selection list never selects";

  for (const char* line : {"a", "b", "c"}) form_->listAdd(kSortedList, line);
  form_->listSelect(kSortedList, 2);
  EXPECT_EQ(form_->listSelection(kSortedList), 2);
  form_->listDelete(kSortedList, 0);
  EXPECT_EQ(form_->listCount(kSortedList), 2);
  EXPECT_EQ(form_->listSelection(kSortedList), 1) << "the selected line moved up";
  form_->listSelect(kSortedList, -1);
  EXPECT_EQ(form_->listSelection(kSortedList), -1);
  form_->listSelect(kSortedList, 7);
  EXPECT_EQ(form_->listSelection(kSortedList), -1);
  form_->listDelete(kSortedList, 5);  // out of range: ignored
  form_->listClear(kSortedList);
  EXPECT_EQ(form_->listCount(kSortedList), 0);
}

TEST_F(QtFormTest, TabSeparatedColumnsAlign) {
  form_->listAdd(kColumnList, "TALVSTRM0\tIO_Port: 0x360");
  form_->listAdd(kColumnList, "TALVSTRM15\tBusNumber: 2");
  auto* list = widget<QListWidget>(kColumnList);
  auto* delegate = dynamic_cast<ui::TabStopDelegate*>(list->itemDelegate());
  ASSERT_NE(delegate, nullptr);
  const auto& starts = delegate->columnStarts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_GT(starts[1], list->fontMetrics().horizontalAdvance("TALVSTRM15"));
  form_->listAdd(kColumnList, "A much longer first field\tx");
  EXPECT_GT(delegate->columnStarts()[1], list->fontMetrics().horizontalAdvance("A much longer first field"));
}

TEST_F(QtFormTest, ComboBoxesSelectAndShowTheSelectedText) {
  auto* combo = widget<QComboBox>(kFraming);
  EXPECT_FALSE(combo->isEditable());
  for (const char* f : {"ESF", "D4", "Unframed"}) form_->listAdd(kFraming, f);
  EXPECT_EQ(form_->listSelection(kFraming), -1);
  EXPECT_EQ(form_->text(kFraming), "");
  form_->listSelect(kFraming, 1);
  EXPECT_EQ(form_->text(kFraming), "D4");
  form_->setText(kFraming, "Unframed");
  EXPECT_EQ(form_->listSelection(kFraming), 2);
  form_->listDelete(kFraming, 0);
  EXPECT_EQ(form_->listSelection(kFraming), 1) << "the selected line moved up";
  form_->listDelete(kFraming, 1);
  EXPECT_EQ(form_->listSelection(kFraming), -1) << "deleting the selected line leaves none";
  form_->listSelect(kFraming, 0);
  form_->listSelect(kFraming, -1);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(form_->listCount(kFraming), 1);
  EXPECT_LT(combo->height(), 40) << "the template height includes the drop-down list";
}

TEST_F(QtFormTest, LightsShowTheirImages) {
  EXPECT_EQ(form_->light(kOofLight), LightColour::Off);
  EXPECT_FALSE(widget<QLabel>(kOofLight)->pixmap().isNull());
  const QImage off = widget<QLabel>(kOofLight)->pixmap().toImage();
  form_->setLight(kOofLight, LightColour::Red);
  form_->setLight(kRedLight, LightColour::Green);
  EXPECT_EQ(form_->light(kOofLight), LightColour::Red);
  EXPECT_EQ(form_->light(kRedLight), LightColour::Green);
  const QImage red = widget<QLabel>(kOofLight)->pixmap().toImage();
  const QImage green = widget<QLabel>(kRedLight)->pixmap().toImage();
  EXPECT_NE(red, off);
  EXPECT_NE(green, red);
  const QPoint mid(red.width() / 2, red.height() / 2);
  EXPECT_GT(qRed(red.pixel(mid)), qGreen(red.pixel(mid)));
  EXPECT_GT(qGreen(green.pixel(mid)), qRed(green.pixel(mid)));
  EXPECT_EQ(qt_->control(kOofLight)->accessibleDescription(), "RED");
}

TEST_F(QtFormTest, EnablingHidingAndTemplateStates) {
  EXPECT_FALSE(form_->isEnabled(kDisabledButton));
  EXPECT_FALSE(qt_->control(kHiddenButton)->isVisible());
  EXPECT_TRUE(form_->isEnabled(kOk));
  form_->setEnabled(kSortedList, false);
  EXPECT_FALSE(form_->isEnabled(kSortedList));
  qt_->control(kSortedList)->setFocus();
  EXPECT_FALSE(qt_->control(kSortedList)->hasFocus()) << "a disabled list takes no focus";
  form_->setVisible(kHiddenButton, true);
  EXPECT_TRUE(qt_->control(kHiddenButton)->isVisible());
  form_->setVisible(kOk, false);
  EXPECT_FALSE(qt_->control(kOk)->isVisible());
}

TEST_F(QtFormTest, EditsLimitWhatTheUserTypesButNotWhatTheProgramSets) {
  auto* name = widget<QLineEdit>(kDeviceName);
  name->setFocus();
  QTest::keyClicks(name, "TALVSTRM15");
  EXPECT_EQ(form_->text(kDeviceName), "TALVSTRM") << "eight bytes at most";
  form_->setText(kDeviceName, "A much longer name");
  EXPECT_EQ(form_->text(kDeviceName), "A much longer name");
  name->end(false);
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(form_->text(kDeviceName), "A much longer nam") << "the user may shorten it";

  auto* interval = widget<QLineEdit>(kInterval);
  QTest::keyClicks(interval, "2x0");
  EXPECT_EQ(form_->text(kInterval), "20");
  EXPECT_TRUE(interval->alignment() & Qt::AlignRight);
}

TEST_F(QtFormTest, MultiLineReadOnlyBoxInFixedFont) {
  auto* detail = widget<QPlainTextEdit>(kDetail);
  EXPECT_TRUE(detail->isReadOnly());
  EXPECT_TRUE(QFontInfo(detail->font()).fixedPitch());
  EXPECT_EQ(detail->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  form_->setText(kDetail, "0000  7E FF\r\n0010  AA\r\n");
  EXPECT_EQ(detail->toPlainText(), "0000  7E FF\n0010  AA\n");
  EXPECT_EQ(form_->text(kDetail), "0000  7E FF\r\n0010  AA\r\n");
}

TEST_F(QtFormTest, GeometryFollowsDialogUnits) {
  const ui::DialogUnits du(ui::FormFont());
  EXPECT_EQ(qt_->surface()->size(), du.size(262, 204));
  EXPECT_EQ(qt_->control(kOk)->geometry(), du.rect(205, 150, 50, 14));
  // Touching in the template, touching on screen.
  EXPECT_EQ(du.rect(0, 0, 7, 3).right() + 1, du.rect(7, 3, 5, 5).left());
  EXPECT_EQ(du.rect(0, 0, 7, 3).bottom() + 1, du.rect(7, 3, 5, 5).top());
  EXPECT_NEAR(du.py(80), QFontMetricsF(ui::FormFont()).height() * 10, 1);
}

}  // namespace
