#pragma once
// The one instance of a modeless utility window: its handler and form while
// it is open. Destroying from the window's own event is safe: the handler
// is freed only after that event is over.

#include <memory>

#include "ui/host.h"

template <class Window>
class ToolWindowSlot {
 public:
  bool isOpen() const { return window_ != nullptr; }
  Window* window() const { return window_.get(); }
  ui::Form* form() const { return form_; }

  // Creates the window; false when it cannot be created.
  bool create(ui::Host& host, const ui::FormTemplate& t, ui::WindowKind kind,
              std::shared_ptr<Window> window) {
    ui::Form* form = host.createWindow(t, *window, kind);
    if (form == nullptr) return false;
    window_ = std::move(window);
    form_ = form;
    return true;
  }

  // Restores and raises an open window; false when none is open.
  bool raise() const {
    if (!isOpen()) return false;
    if (form_->isMinimized()) form_->restore();
    form_->bringToTop();
    return true;
  }

  void destroy(ui::Host& host) {
    if (!isOpen()) return;
    host.destroyWindow(*form_);
    form_ = nullptr;
    host.post([retired = std::move(window_)] {});
  }

 private:
  std::shared_ptr<Window> window_;
  ui::Form* form_ = nullptr;
};
