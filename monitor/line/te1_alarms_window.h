#pragma once
// "Talvora TE-1 Alarms Window": the four line alarms of a T1 or E1 front end
// as lights and its four error counters, refreshed by the window's own timer.

#include <cstdint>
#include <functional>

#include "driver_if/execute.h"
#include "ui/form.h"

const ui::FormTemplate& Te1AlarmsTemplate();

class Te1AlarmsWindow : public ui::FormHandler {
 public:
  static constexpr int kFlush = 1020;
  static constexpr int kOofLight = 1021;
  static constexpr int kRedLight = 1022;
  static constexpr int kAisLight = 1023;
  static constexpr int kYelLight = 1024;
  static constexpr int kFramingBitErrors = 1025;
  static constexpr int kSecondCounter = 1026;
  static constexpr int kThirdCounter = 1027;
  static constexpr int kLcvErrors = 1028;
  static constexpr int kSecondCounterLabel = 1029;
  static constexpr int kThirdCounterLabel = 1030;

  static constexpr int kRefreshTimer = 1;
  static constexpr unsigned kRefreshMs = 100;

  // close: the owner's close path for this window.
  Te1AlarmsWindow(CommandExecutor& exec, uint8_t front_end_type, std::function<void()> close)
      : exec_(exec), front_end_type_(front_end_type), close_(std::move(close)) {}

  void onInit(ui::Form& form) override;
  void onCommand(int id, ui::Notify notify) override;
  void onTimer(int timer_id) override;
  void onCloseRequest() override { close_(); }
  void onMouseDown() override { form_->bringToTop(); }

 private:
  void refresh();

  CommandExecutor& exec_;
  uint8_t front_end_type_;
  std::function<void()> close_;
  ui::Form* form_ = nullptr;
};
