#include "ui/qt/main_window.h"

#include <QCloseEvent>

#include "ui/qt/mdi_area.h"

namespace ui {

MainWindow::MainWindow(Events events) : events_(std::move(events)), mdi_(new MdiArea(this)) {
  setCentralWidget(mdi_);
}

bool MainWindow::isNormalSize() const {
  return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  events_.closing();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (isNormalSize()) events_.restored();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isVisible() && isNormalSize()) events_.restored();
}

}  // namespace ui
