#include "ui/qt/screenshot.h"

#include <QPixmap>
#include <QWidget>

#include "ui/qt/qt_form.h"
#include "ui/qt/qt_host.h"

namespace ui {

QImage GrabWindow(QWidget* widget) {
  if (widget == nullptr) return {};
  widget->ensurePolished();
  if (!widget->isVisible()) widget->adjustSize();
  return widget->grab().toImage();
}

QImage GrabForm(const QtHost& host, const Form& form) {
  QtForm* f = host.qtForm(form);
  return f == nullptr ? QImage() : GrabWindow(f->frame());
}

QImage GrabMainWindow(const QtHost& host) { return GrabWindow(host.mainWindow()); }

bool SaveScreenshot(const QImage& image, const QString& png_path) {
  return !image.isNull() && image.save(png_path, "PNG");
}

}  // namespace ui
