#include "monitor/traffic/modem_status_dialog.h"

const ui::FormTemplate& SetModemStatusTemplate() {
  using D = SetModemStatusDialog;
  static const ui::FormTemplate t{
      .name = "SETMODEM",
      .title = "Set Modem Status",
      .w = 140, .h = 64,
      .controls = {
          ui::CheckBox(D::kDtr, "DTR (checked is high)", 12, 10, 116, 10),
          ui::CheckBox(D::kRts, "RTS (checked is high)", 12, 24, 116, 10),
          ui::Button(1, "OK", 14, 42, 50, 14).with(ui::kDefaultButton),
          ui::Button(2, "Cancel", 76, 42, 50, 14),
      },
  };
  return t;
}
