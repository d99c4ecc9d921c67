#include "monitor/core/polling_config_dialog.h"

const ui::FormTemplate& PollingConfigTemplate() {
  using D = PollingConfigDialog;
  static const ui::FormTemplate t{
      .name = "CONFIG",
      .title = "Quarnel Configuration",
      .w = 236, .h = 150,
      .controls = {
          ui::Label("Statistics polling interval in 1000's: (If timer not used - recommend 20)", 8,
                    8, 170, 18, D::kInterval),
          ui::Edit(D::kInterval, 184, 10, 44, 12),
          ui::GroupBox(D::kTimerGroup, "Polling using system timer", 6, 32, 224, 92),
          ui::Label("Polling interval (ms):", 14, 46, 90, 9, D::kTimerPeriod),
          ui::Edit(D::kTimerPeriod, 108, 44, 44, 12),
          ui::CheckBox(D::kEnableTimer, "Enable timer", 14, 62, 70, 10),
          ui::Text(D::kTimerState, "", 90, 62, 80, 9),
          ui::Text(ui::kNoId,
                   "If disabled, a loop counter is used for polling using the interval specified "
                   "at the top.  If enabled, an attempt will be made to install a system timer, "
                   "which is a limited resource.  If no timers are available, the loop counter "
                   "will be used instead.",
                   14, 76, 208, 44),
          ui::Button(1, "OK", 62, 130, 50, 14).with(ui::kDefaultButton),
          ui::Button(2, "Cancel", 124, 130, 50, 14),
      },
  };
  return t;
}
