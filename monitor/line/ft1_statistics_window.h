#pragma once
// "FT1 Operational Statistics": the FT1 unit reports its statistics as lines
// of text while its statistics monitor flag is set; the window reads one
// every 100 ms and lists the latest 100. FLUSH has the unit flush them.

#include <functional>
#include <string>
#include <string_view>

#include "driver_if/execute.h"
#include "monitor/line/ft1_monitor_flags.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/prompter.h"

const ui::FormTemplate& Ft1StatisticsTemplate();

class Ft1StatisticsWindow : public ui::FormHandler {
 public:
  static constexpr int kList = 1044;
  static constexpr int kFlush = 1045;
  static constexpr int kClose = 1053;
  static constexpr int kRefreshTimer = 1;
  static constexpr unsigned kRefreshMs = 100;
  static constexpr int kMaxRows = 100;
  static constexpr size_t kRowLength = 199;
  static constexpr int kFlushAttempts = 5000;

  // close: the window's close path, run by its owner.
  Ft1StatisticsWindow(ui::Host& host, ui::Prompter& prompter, CommandExecutor& exec, Ft1MonitorFlags& flags,
                      std::function<void()> close)
      : host_(host), prompter_(prompter), exec_(exec), flags_(flags), close_(std::move(close)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onCloseRequest() override { close_(); }
  void onMouseDown() override { form_->bringToTop(); }

  void stopTimer();
  int rowCount() const { return rows_; }

  // The row a statistics reply gives: its first character made a space,
  // the text cut at the row's length.
  static std::string RowText(std::string_view reply);

 private:
  void tick();
  void addRow(const std::string& row);
  void flush();
  // Sends the flags until the unit takes them, up to kFlushAttempts in all.
  void changeFlagsPersistently(uint8_t set, uint8_t clear);

  ui::Host& host_;
  ui::Prompter& prompter_;
  CommandExecutor& exec_;
  Ft1MonitorFlags& flags_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
  bool timer_ = false;
  int rows_ = 0;
  bool flushing_ = false;
};
