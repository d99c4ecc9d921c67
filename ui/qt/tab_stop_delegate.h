#pragma once
// Draws list lines whose fields are separated by tabs as aligned columns:
// each column starts past the widest field of the column before it, on a
// stop of four average characters.

#include <QStyledItemDelegate>

#include <vector>

namespace ui {

class TabStopDelegate : public QStyledItemDelegate {
 public:
  // The delegate watches the model of view for changes of the lines.
  explicit TabStopDelegate(class QAbstractItemView* view);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

  // Left edges of the columns in pixels, the first one 0.
  const std::vector<int>& columnStarts() const;

 private:
  void invalidate() { stale_ = true; }

  QAbstractItemView* view_;
  mutable std::vector<int> starts_;
  mutable bool stale_ = true;
};

}  // namespace ui
