#pragma once
// "Talvora VR20/VR40 FT-1 Status Window": the FT1 unit's eight lights read
// every 100 ms, its SELECT button, and the text that explains the test the
// unit runs, chosen every 800 ms from how the lights behaved.

#include <functional>

#include "driver_if/execute.h"
#include "monitor/line/ft1_status_lights.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/prompter.h"

const ui::FormTemplate& Ft1StatusTemplate();

class Ft1StatusWindow : public ui::FormHandler {
 public:
  static constexpr int kFirstLight = 1045;  // INS, ERR, TXD, RXD, ST, DL, LL, RT: 1045 to 1052
  static constexpr int kSelect = 1039;
  static constexpr int kText = 1032;
  static constexpr int kPoll = 1044;
  static constexpr int kHiddenClose = 399;
  static constexpr int kRefreshTimer = 1;
  static constexpr unsigned kRefreshMs = 100;
  static constexpr int kSelectAttempts = 10;

  static constexpr int LightId(Ft1Light light) { return kFirstLight + static_cast<int>(light); }

  // close: the window's close path, run by its owner.
  Ft1StatusWindow(ui::Host& host, ui::Prompter& prompter, CommandExecutor& exec, std::function<void()> close)
      : host_(host), prompter_(prompter), exec_(exec), close_(std::move(close)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onCloseRequest() override { close_(); }
  void onMouseDown() override { form_->bringToTop(); }

  void stopTimer();
  const Ft1StatusTracker& tracker() const { return tracker_; }
  int textIndex() const { return text_index_; }

 private:
  void refresh();
  void select();

  ui::Host& host_;
  ui::Prompter& prompter_;
  CommandExecutor& exec_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
  bool timer_ = false;
  Ft1StatusTracker tracker_;
  int text_index_ = 0;
};
