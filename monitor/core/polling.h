#pragma once
// The polling tick that makes every open monitor window refresh itself, on
// one of two clocks: a count of passes of the never-waiting main loop, or
// the main window's system timer.

#include <cstdint>
#include <functional>

#include "monitor/core/settings.h"
#include "ui/host.h"
#include "ui/prompter.h"

class Polling {
 public:
  Polling(ui::Host& host, ui::Prompter& prompter) : host_(host), prompter_(prompter) {}

  void configure(const MonitorSettings& settings);

  void PollTick(bool forced);
  // Installs timer id 0 on the main window; on failure warns and falls back
  // to loop counting.
  void InstallPollTimer();
  void removePollTimer();

  // Tick sources of the main window.
  void onLoopPass();
  void onPollTimer();

  bool suspended() const { return suspended_; }
  void setSuspended(bool on) { suspended_ = on; }
  bool timerActive() const { return timer_active_; }
  uint32_t tickCounter() const { return tick_counter_; }
  void setMainWindowDestroyed(bool destroyed) { main_window_destroyed_ = destroyed; }

  uint32_t loopCount() const { return loop_count_; }
  void setLoopCount(uint32_t n) { loop_count_ = n; }
  uint16_t tickIntervalMs() const { return tick_interval_ms_; }
  void setTickIntervalMs(uint16_t ms) { tick_interval_ms_ = ms; }
  bool useSystemTimer() const { return use_system_timer_; }
  void setUseSystemTimer(bool on) { use_system_timer_ = on; }

  // Wiring: whether a device is connected, and delivery of the tick to every
  // receiver (monitor windows, then the Send Frames window).
  std::function<bool()> connected;
  std::function<void()> deliver;

 private:
  void setTimerActive(bool active);

  ui::Host& host_;
  ui::Prompter& prompter_;
  uint32_t loop_count_ = 20000;
  uint16_t tick_interval_ms_ = 100;
  bool use_system_timer_ = true;
  bool timer_active_ = false;
  bool suspended_ = false;
  bool main_window_destroyed_ = true;
  uint32_t tick_counter_ = 0;
};
