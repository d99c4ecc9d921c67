#include "monitor/core/modem_status_window.h"

const ui::FormTemplate& ModemStatusTemplate() {
  static const ui::FormTemplate t{
      .name = "MODEMS",
      .window_class = "TVMN_MODEMS",
      .title = "Modem Status",
      .x = 30, .y = 64, .w = 83, .h = 56,
      .controls = {
          ui::Label("DCD:", 10, 8, 28, 9, 200),
          ui::Text(200, "?", 42, 8, 32, 9),
          ui::Label("CTS:", 10, 19, 28, 9, 201),
          ui::Text(201, "?", 42, 19, 32, 9),
          ui::Button(kCloseButton, "&Close", 16, 36, 50, 14),
      },
      .icon = "iconmodems",
      .minimize_box = true,
      .copy = ui::CopyKind::Values,
  };
  return t;
}
