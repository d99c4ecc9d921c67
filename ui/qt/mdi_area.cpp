#include "ui/qt/mdi_area.h"

#include <QMdiSubWindow>
#include <QResizeEvent>

#include <utility>
#include <vector>

namespace ui {

template <class Handle>
auto MdiArea::keepingIcons(Handle handle) {
  std::vector<std::pair<QMdiSubWindow*, QPoint>> icons;
  for (QMdiSubWindow* sub : subWindowList())
    if (sub->isMinimized()) icons.emplace_back(sub, sub->pos());
  auto result = handle();
  for (const auto& [sub, pos] : icons) sub->move(pos);
  return result;
}

void MdiArea::resizeEvent(QResizeEvent* event) {
  keepingIcons([&] {
    QMdiArea::resizeEvent(event);
    return true;
  });
}

bool MdiArea::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::Resize) return QMdiArea::viewportEvent(event);
  return keepingIcons([&] { return QMdiArea::viewportEvent(event); });
}

}  // namespace ui
