#pragma once
// The main window's menu bar built from a MenuTemplate. Check marks and grey
// states belong to the program: choosing an item never changes them.

#include <QObject>

#include <functional>
#include <map>

#include "ui/menu.h"

class QAction;
class QMenu;
class QMenuBar;

namespace ui {

class MenuBarModel : public QObject {
 public:
  MenuBarModel(QMenuBar* bar, const MenuTemplate& menu, std::function<void(int)> on_command);

  bool has(int id) const { return items_.count(id) != 0; }
  void setChecked(int id, bool checked);
  bool isChecked(int id) const;
  void setEnabled(int id, bool enabled);
  bool isEnabled(int id) const;
  QAction* action(int id) const;
  // The menu that lists the tool windows, or null.
  QMenu* windowMenu() const { return window_menu_; }

 private:
  struct Item {
    QAction* action = nullptr;
    bool checked = false;
  };
  void add(QAction* action, int id);
  void showCheck(const Item& item);

  std::function<void(int)> on_command_;
  std::map<int, Item> items_;
  QMenu* window_menu_ = nullptr;
};

}  // namespace ui
