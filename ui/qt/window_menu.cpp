#include "ui/qt/window_menu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace ui {

WindowMenu::WindowMenu(QMenu* menu, QMdiArea* area) : QObject(menu), menu_(menu), area_(area) {
  connect(menu_, &QMenu::aboutToShow, this, &WindowMenu::refresh);
  refresh();
}

void WindowMenu::refresh() {
  for (QAction* action : added_) {
    menu_->removeAction(action);
    action->deleteLater();
  }
  added_.clear();
  auto add = [this](const QString& text) {
    auto* action = new QAction(text, menu_);
    menu_->addAction(action);
    added_.push_back(action);
    return action;
  };
  auto separator = [this] {
    auto* action = new QAction(menu_);
    action->setSeparator(true);
    menu_->addAction(action);
    added_.push_back(action);
  };

  const QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::CreationOrder);
  QList<QMdiSubWindow*> shown;
  for (QMdiSubWindow* w : windows)
    if (w->isVisible()) shown.append(w);

  separator();
  QAction* tile = add(QStringLiteral("&Tile"));
  connect(tile, &QAction::triggered, area_, &QMdiArea::tileSubWindows);
  QAction* cascade = add(QStringLiteral("&Cascade"));
  connect(cascade, &QAction::triggered, area_, &QMdiArea::cascadeSubWindows);
  QAction* next = add(QStringLiteral("Ne&xt"));
  connect(next, &QAction::triggered, area_, &QMdiArea::activateNextSubWindow);
  QAction* previous = add(QStringLiteral("Pre&vious"));
  connect(previous, &QAction::triggered, area_, &QMdiArea::activatePreviousSubWindow);
  for (QAction* a : {tile, cascade, next, previous}) a->setEnabled(!shown.isEmpty());
  if (shown.isEmpty()) return;

  separator();
  for (int i = 0; i < shown.size(); ++i) {
    QMdiSubWindow* w = shown[i];
    // The first nine are reached by their digit.
    const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
    QAction* item = add(number + QString(w->windowTitle()).replace(QLatin1Char('&'), QStringLiteral("&&")));
    item->setCheckable(true);
    item->setChecked(w == area_->activeSubWindow());
    connect(item, &QAction::triggered, area_, [area = area_, window = QPointer<QMdiSubWindow>(w)] {
      if (!window) return;
      if (window->isMinimized()) window->showNormal();
      area->setActiveSubWindow(window);
    });
  }
}

}  // namespace ui
