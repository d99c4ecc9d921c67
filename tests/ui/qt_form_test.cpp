// Controls of a Qt form: what the logic sets is what the widgets show.

#include "ui/qt/qt_form.h"

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
#include "ui/qt/screenshot.h"

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

}  // namespace
