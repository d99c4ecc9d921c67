#include "monitor/core/polling_config_dialog.h"

#include <algorithm>
#include <string>

void PollingConfigDialog::onInit(ui::Form& form) {
  form_ = &form;
  form.setText(kInterval, std::to_string(static_cast<uint16_t>(polling_.loopCount() / 1000)));
  form.setText(kTimerPeriod, std::to_string(polling_.tickIntervalMs()));
  if (polling_.useSystemTimer()) {
    form.setText(kTimerState, polling_.timerActive() ? "(Active)" : "(Unavailable)");
    form.setChecked(kEnableTimer, true);
  } else {
    form.setText(kTimerState, "");
    form.setChecked(kEnableTimer, false);
  }
}

void PollingConfigDialog::onCommand(int id, ui::Notify notify) {
  if (notify != ui::Notify::Clicked) return;
  if (id == 1) accept();
  else if (id == 2) form_->endDialog(0);
}

void PollingConfigDialog::accept() {
  // Leaving timer mode takes effect even when the entries are then refused.
  if (polling_.useSystemTimer() && polling_.timerActive()) polling_.removePollTimer();
  polling_.setUseSystemTimer(form_->isChecked(kEnableTimer));
  unsigned long long period = DialogNumber(form_->text(kTimerPeriod));
  if (period <= 65535) polling_.setTickIntervalMs(static_cast<uint16_t>(period));
  unsigned long long interval = DialogNumber(form_->text(kInterval));

  if (interval < 1 || interval > 65535 || period > 65535 || (polling_.useSystemTimer() && period == 0)) {
    prompter_.show({"Polling intervals must be in the range of 1 to 65535!",
                    "Configuration Entry(s) Invalid", ui::Icon::Error, ui::Buttons::Ok,
                    ui::Owner::Form, form_});
    return;
  }
  polling_.setLoopCount(static_cast<uint32_t>(interval) * 1000);
  settings_.write("Polling", "tick_interval", std::to_string(interval));
  settings_.write("Polling", "tick_interval_ms", std::to_string(polling_.tickIntervalMs()));
  settings_.write("Polling", "use_system_timer", polling_.useSystemTimer() ? "1" : "0");
  if (polling_.useSystemTimer()) polling_.InstallPollTimer();
  form_->endDialog(1);
}

unsigned long long DialogNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  unsigned long long v = 0;
  constexpr unsigned long long kCap = 1ULL << 40;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    v = std::min(kCap, v * 10 + static_cast<unsigned>(text[i] - '0'));
  return v;
}
