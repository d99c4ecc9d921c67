#pragma once
// "Talvora 56K DSU\CSU Alarms Window": the alarm conditions of a 56K unit as
// nine lights, and its receive level as insertion loss and line length.

#include <functional>

#include "card/front_end_records.h"
#include "driver_if/execute.h"
#include "ui/form.h"

const ui::FormTemplate& Status56KTemplate();

class Status56KWindow : public ui::FormHandler {
 public:
  static constexpr int kInsLight = 1045;
  static constexpr int kDmiLight = 1068;
  static constexpr int kZscLight = 1069;
  static constexpr int kCmiLight = 1070;
  static constexpr int kOosLight = 1071;
  static constexpr int kOofLight = 1021;
  static constexpr int kDlpLight = 1072;
  static constexpr int kUmcLight = 1073;
  static constexpr int kRlosLight = 1074;
  static constexpr int kInsertionLoss = 1075;
  static constexpr int kLineLength = 1076;
  static constexpr int kLineLengthLabel = 1029;
  static constexpr int kClose = 399;

  static constexpr int kRefreshTimer = 1;
  static constexpr unsigned kRefreshMs = 500;

  // close: the owner's close path for this window.
  Status56KWindow(CommandExecutor& exec, std::function<void()> close)
      : exec_(exec), close_(std::move(close)) {}

  void onInit(ui::Form& form) override { form_ = &form; }
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onCloseRequest() override { close_(); }
  void onMouseDown() override { form_->bringToTop(); }

 private:
  void refresh();
  void showLights(const card::Status56K& status);

  CommandExecutor& exec_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
  card::Status56K last_status_;
};
