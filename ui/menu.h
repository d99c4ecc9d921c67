#pragma once
// The main window's menu bar.

#include <string>
#include <vector>

namespace ui {

struct MenuItem {
  int id = 0;            // 0 for a separator
  std::string text;
  bool greyed = false;   // initial state from the resource
  bool separator() const { return id == 0; }
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;
  int command_id = 0;  // a top-level entry that is itself a command has no items
  // After its items the menu offers tiling, cascading, stepping through the
  // tool windows and a list of them, as windowing programs do.
  bool lists_windows = false;
};

struct MenuTemplate {
  std::string name;
  std::vector<Menu> menus;
};

inline MenuItem Separator() { return {}; }

}  // namespace ui
