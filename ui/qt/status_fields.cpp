#include "ui/qt/status_fields.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>

namespace ui {

StatusFields::StatusFields(QStatusBar* bar, std::function<void(StatusField)> on_click)
    : QObject(bar), bar_(bar), on_click_(std::move(on_click)) {
  for (StatusField field : {StatusField::Device, StatusField::Capture}) {
    auto* label = new QLabel(bar);
    label->setTextFormat(Qt::PlainText);
    label->hide();
    label->installEventFilter(this);
    if (field == StatusField::Capture) {
      label->setCursor(Qt::PointingHandCursor);
      label->setToolTip(QStringLiteral("Click to open the folder"));
      bar->addPermanentWidget(label);
    } else {
      bar->addWidget(label, 1);
    }
    labels_[field] = label;
  }
  bar->hide();
}

void StatusFields::setText(StatusField field, const QString& text) {
  QLabel* l = labels_.at(field);
  l->setText(text);
  l->setAccessibleName(text);
  l->setVisible(!text.isEmpty());
  bool any = false;
  for (const auto& [f, shown] : labels_) any = any || !shown->text().isEmpty();
  bar_->setVisible(any);
}

QString StatusFields::text(StatusField field) const { return labels_.at(field)->text(); }

QLabel* StatusFields::label(StatusField field) const { return labels_.at(field); }

bool StatusFields::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (const auto& [field, label] : labels_)
      if (label == watched) on_click_(field);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
