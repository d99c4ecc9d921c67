#include "monitor/core/polling_info_window.h"

const ui::FormTemplate& PollingInfoTemplate() {
  using W = PollingInfoWindow;
  static const ui::FormTemplate t{
      .name = "POLLS",
      .window_class = "TVMN_POLLS",
      .title = "Polling and Device Info",
      .x = 30, .y = 64, .w = 246, .h = 109,
      .controls = {
          ui::RadioButton(W::kTickIndicator, "Polling Tick Indicator", 8, 6, 110, 10)
              .with(ui::kManualCheck | ui::kGroupStart),
          ui::Text(W::kLastCommand, "", 8, 21, 150, 9),
          ui::Text(W::kReturnCode, "", 164, 21, 40, 9),
          ui::GroupBox(ui::kNoId, "Device Information", 6, 34, 234, 50),
          ui::Label("Device Name:", 12, 46, 104, 9, W::kDeviceName),
          ui::Text(W::kDeviceName, "", 120, 46, 114, 9),
          ui::Label("Status:", 12, 57, 104, 9, W::kStatus),
          ui::Text(W::kStatus, "", 120, 57, 114, 9),
          ui::Label("Last Active Command Result:", 12, 68, 104, 9, W::kResult),
          ui::Text(W::kResult, "", 120, 68, 114, 9),
          ui::Button(kCloseButton, "&Close", 98, 89, 50, 14),
      },
      .icon = "iconpolls",
      .minimize_box = true,
      .copy = ui::CopyKind::Values,
  };
  return t;
}
