#include "monitor/core/polling.h"

void Polling::configure(const MonitorSettings& settings) {
  loop_count_ = settings.loop_count;
  tick_interval_ms_ = settings.tick_interval_ms;
  use_system_timer_ = settings.use_system_timer;
}

void Polling::PollTick(bool forced) {
  if (!connected || !connected()) return;
  ++tick_counter_;
  if (!forced && (loop_count_ == 0 || tick_counter_ % loop_count_ != 0)) return;
  if (!forced && suspended_) return;
  if (deliver) deliver();
}

void Polling::setTimerActive(bool active) {
  timer_active_ = active;
  // The loop waits for events while the timer drives polling, and counts its
  // never-waiting passes otherwise.
  host_.setNeverWaiting(!active);
}

void Polling::InstallPollTimer() {
  setTimerActive(host_.installPollTimer(tick_interval_ms_));
  if (!timer_active_) {
    prompter_.show({"Unable to install a system timer for polling as requested.  Standard loop "
                    "counting will be used during this session.",
                    "Resource Unavailable (Non-Fatal)", ui::Icon::Warning});
  }
}

void Polling::removePollTimer() {
  if (timer_active_) host_.removePollTimer();
  setTimerActive(false);
}

void Polling::onLoopPass() {
  if (!main_window_destroyed_ && !timer_active_) PollTick(false);
}

void Polling::onPollTimer() {
  if (!suspended_) PollTick(true);
}
