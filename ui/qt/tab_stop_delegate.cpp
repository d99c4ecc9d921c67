#include "ui/qt/tab_stop_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace ui {

namespace {
constexpr int kStopChars = 4;
constexpr int kGapChars = 2;
}  // namespace

TabStopDelegate::TabStopDelegate(QAbstractItemView* view) : QStyledItemDelegate(view), view_(view) {
  QAbstractItemModel* model = view->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, [this] { invalidate(); });
  connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { invalidate(); });
  connect(model, &QAbstractItemModel::dataChanged, this, [this] { invalidate(); });
  connect(model, &QAbstractItemModel::modelReset, this, [this] { invalidate(); });
}

const std::vector<int>& TabStopDelegate::columnStarts() const {
  if (!stale_) return starts_;
  QFontMetrics metrics(view_->font());
  const int stop = std::max(1, metrics.averageCharWidth() * kStopChars);
  const int gap = metrics.averageCharWidth() * kGapChars;
  std::vector<int> widths;
  QAbstractItemModel* model = view_->model();
  for (int row = 0; row < model->rowCount(); ++row) {
    const QStringList fields = model->index(row, 0).data().toString().split(QLatin1Char('\t'));
    if (widths.size() < static_cast<size_t>(fields.size())) widths.resize(fields.size(), 0);
    for (qsizetype i = 0; i < fields.size(); ++i)
      widths[i] = std::max(widths[i], metrics.horizontalAdvance(fields[i]));
  }
  starts_.assign(1, 0);
  for (size_t i = 0; i + 1 < widths.size(); ++i) {
    int end = starts_.back() + widths[i] + gap;
    starts_.push_back((end + stop - 1) / stop * stop);
  }
  stale_ = false;
  return starts_;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QStringList fields = opt.text.split(QLatin1Char('\t'));
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

  const QRect text_rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
  const auto& starts = columnStarts();
  const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                          : QPalette::Inactive;
  const QPalette::ColorRole role =
      (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
  painter->save();
  painter->setFont(opt.font);
  painter->setPen(opt.palette.color(group, role));
  painter->setClipRect(text_rect);
  const size_t columns = std::min(starts.size(), static_cast<size_t>(fields.size()));
  for (size_t i = 0; i < columns; ++i) {
    QRect cell = text_rect.adjusted(starts[i], 0, 0, 0);
    painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      fields[static_cast<qsizetype>(i)]);
  }
  painter->restore();
}

}  // namespace ui
