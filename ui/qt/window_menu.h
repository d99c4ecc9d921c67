#pragma once
// What every MDI program's Window menu offers after the program's own
// items: Tile, Cascade, Next, Previous and the open tool windows, the
// active one checked. Rebuilt each time the menu opens.

#include <QObject>

#include <vector>

class QAction;
class QMdiArea;
class QMenu;

namespace ui {

class WindowMenu : public QObject {
 public:
  WindowMenu(QMenu* menu, QMdiArea* area);

  // Brings the added items up to date, as opening the menu does.
  void refresh();

 private:
  QMenu* menu_;
  QMdiArea* area_;
  std::vector<QAction*> added_;
};

}  // namespace ui
