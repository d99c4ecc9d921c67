#include "ui/qt/menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/qt/text_conversion.h"

namespace ui {

MenuBarModel::MenuBarModel(QMenuBar* bar, const MenuTemplate& menu,
                           std::function<void(int)> on_command)
    : QObject(bar), on_command_(std::move(on_command)) {
  for (const Menu& m : menu.menus) {
    if (m.items.empty()) {
      QAction* action = bar->addAction(ToQString(m.title));
      if (m.command_id != 0) add(action, m.command_id);
      continue;
    }
    QMenu* popup = bar->addMenu(ToQString(m.title));
    if (m.lists_windows) window_menu_ = popup;
    for (const MenuItem& item : m.items) {
      if (item.separator()) {
        popup->addSeparator();
        continue;
      }
      QAction* action = popup->addAction(ToQString(item.text));
      action->setEnabled(!item.greyed);
      add(action, item.id);
    }
  }
}

void MenuBarModel::add(QAction* action, int id) {
  items_[id] = Item{action, false};
  connect(action, &QAction::triggered, this, [this, id] {
    // Qt toggles a checkable action when it is chosen; the program decides.
    showCheck(items_[id]);
    on_command_(id);
  });
}

void MenuBarModel::showCheck(const Item& item) {
  // Only a checked item is checkable, so unchecked ones show no empty box.
  item.action->setCheckable(item.checked);
  item.action->setChecked(item.checked);
}

void MenuBarModel::setChecked(int id, bool checked) {
  auto it = items_.find(id);
  if (it == items_.end()) return;
  it->second.checked = checked;
  showCheck(it->second);
}

bool MenuBarModel::isChecked(int id) const {
  auto it = items_.find(id);
  return it != items_.end() && it->second.checked;
}

void MenuBarModel::setEnabled(int id, bool enabled) {
  if (auto it = items_.find(id); it != items_.end()) it->second.action->setEnabled(enabled);
}

bool MenuBarModel::isEnabled(int id) const {
  auto it = items_.find(id);
  return it != items_.end() && it->second.action->isEnabled();
}

QAction* MenuBarModel::action(int id) const {
  auto it = items_.find(id);
  return it == items_.end() ? nullptr : it->second.action;
}

}  // namespace ui
