#include "monitor/traffic/read_register_dialog.h"

const ui::FormTemplate& ReadRegisterTemplate() {
  using D = ReadRegisterDialog;
  static const ui::FormTemplate t{
      .name = "READ_REGISTER",
      .title = "Read Register",
      .w = 150, .h = 66,
      .controls = {
          ui::Label("&Register (hex):", 10, 10, 60, 9, D::kRegister),
          ui::Edit(D::kRegister, 74, 8, 30, 12, 3),
          ui::Label("Value:", 10, 26, 60, 9, D::kValue),
          ui::Text(D::kValue, "", 74, 26, 60, 9).with(ui::kSunken),
          ui::Button(D::kRead, "Read", 18, 44, 50, 14).with(ui::kDefaultButton),
          ui::Button(2, "Close", 82, 44, 50, 14),
      },
  };
  return t;
}
