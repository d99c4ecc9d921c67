#pragma once
// The fields of the main window's status bar: one line of text each, hidden
// while empty, and a click on a field reported to the program.

#include <QObject>

#include <functional>
#include <map>

#include "ui/host.h"

class QLabel;
class QStatusBar;

namespace ui {

class StatusFields : public QObject {
 public:
  StatusFields(QStatusBar* bar, std::function<void(StatusField)> on_click);

  void setText(StatusField field, const QString& text);
  QString text(StatusField field) const;
  QLabel* label(StatusField field) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QStatusBar* bar_;
  std::function<void(StatusField)> on_click_;
  std::map<StatusField, QLabel*> labels_;
};

}  // namespace ui
