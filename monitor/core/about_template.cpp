#include "monitor/core/about_dialog.h"

const ui::FormTemplate& AboutTemplate() {
  static const ui::FormTemplate t{
      .name = "ABOUTBOX",
      .title = "About Talvlink Monitor",
      .w = 180, .h = 64,
      .controls = {
          ui::Text(ui::kNoId, "Talvlink Monitor (VR20/VR40)", 10, 10, 160, 10).with(ui::kCentered),
          ui::Text(ui::kNoId, "Line monitor for CHDLC streaming cards", 10, 22, 160, 10).with(ui::kCentered),
          ui::Button(1, "OK", 65, 42, 50, 14).with(ui::kDefaultButton),
      },
      .icon = "aaaprogicon",
  };
  return t;
}
