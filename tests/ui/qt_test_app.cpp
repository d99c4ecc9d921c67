#include "tests/ui/qt_test_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/qt/screenshot.h"

namespace {

QtMessageHandler previous_handler = nullptr;

// The offscreen platform cannot size windows to their fixed layouts and
// says so for every window.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("propagateSizeHints"))) return;
  previous_handler(type, context, message);
}

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previous_handler = qInstallMessageHandler(QuietPlatformNotes);
    app_ = new QApplication(argc_, argv_);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  int argc_ = 1;
  char name_[8] = "uitest";
  char* argv_[2] = {name_, nullptr};
  QApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

namespace uitest {

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  QDeadlineTimer deadline(timeout_ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

void RunEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

void SaveForDocs(const QImage& image, const char* name) {
  const QByteArray dir = qgetenv("TALV_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  ui::SaveScreenshot(image, QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromUtf8(name)));
}

}  // namespace uitest

namespace uitest {

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

void ClickButton(QWidget* window, const QString& text) {
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
    if (button->text() == text) button->click();
}

void LayOutSideBySide(QMdiArea* area) {
  int x = 8, y = 8, row_height = 0;
  for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isVisible()) continue;
    if (x + w->width() > area->width()) {
      x = 8;
      y += row_height + 8;
      row_height = 0;
    }
    w->move(x, y);
    x += w->width() + 8;
    row_height = std::max(row_height, w->height());
  }
  RunEventsFor(50);
}

}  // namespace uitest
