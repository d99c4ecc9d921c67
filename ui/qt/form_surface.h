#pragma once
// The client area of a form: the parent of its controls. It turns raw
// keys, mouse presses anywhere in the window and the context menu into
// events of the form, and offers the window's "Copy" (Ctrl+C and the
// context menu) when it has one.

#include <QWidget>

#include <optional>
#include <vector>

#include "ui/menu.h"

namespace ui {

class QtForm;

class FormSurface : public QWidget {
 public:
  FormSurface(QtForm& form, bool raw_keys, std::vector<MenuItem> context_menu, bool copies);

  // Call once the controls exist: presses on any of them count.
  void watchMousePresses();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QtForm& form_;
  bool raw_keys_;
  std::vector<MenuItem> context_menu_;
  bool copies_;
  std::optional<quint64> last_press_;
};

}  // namespace ui
