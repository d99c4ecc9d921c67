#pragma once
// What the five monitor windows share: one instance each, a "&Close"
// button (399), raise on click, refresh on every polling tick.

#include <functional>

#include "driver_if/execute.h"
#include "ui/form.h"

inline constexpr int kCloseButton = 399;

class MonitorWindow : public ui::FormHandler {
 public:
  // close_request: unchecks the menu item and asks the main window to
  // destroy this window.
  MonitorWindow(CommandExecutor& exec, std::function<void()> close_request)
      : exec_(exec), close_request_(std::move(close_request)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onCloseRequest() override { close_request_(); }
  void onMouseDown() override { form_->bringToTop(); }
  // The refresh, then the values marked stale when the card did not answer.
  void onPollTick() override;

  ui::Form& form() { return *form_; }
  // Whether the last refresh got its answers; the window keeps the values
  // it showed before a failed one.
  bool answering() const { return answering_; }

 protected:
  virtual void reset() {}
  virtual void refresh() = 0;
  virtual void onButton(int id) { (void)id; }

  CommandExecutor& exec_;
  ui::Form* form_ = nullptr;

 private:
  std::function<void()> close_request_;
  bool answering_ = true;
};
