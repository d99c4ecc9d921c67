#include "monitor/core/select_device_dialog.h"

#include "monitor/core/settings.h"

const ui::FormTemplate& SelectDeviceTemplate() {
  using D = SelectDeviceDialog;
  static const ui::FormTemplate t{
      .name = "SELCARD",
      .title = "New Device",
      .w = 372, .h = 96,
      .controls = {
          ui::Label("&New Device:", 8, 10, 56, 9, D::kName),
          ui::Edit(D::kName, 68, 8, 124, 12, static_cast<int>(kMaxDeviceName)),
          ui::CheckBox(D::kSetAsDefault, "&Set as default on startup", 68, 24, 124, 10),
          ui::Label("Current device:", 8, 40, 56, 9, D::kStoredDefault),
          ui::Text(D::kStoredDefault, "", 68, 40, 124, 9),
          ui::Text(ui::kNoId, "Specify one of the device names from TALVSTRM0 to TALVSTRM15.", 8, 54, 184, 18),
          ui::Button(1, "OK", 46, 76, 50, 14).with(ui::kDefaultButton),
          ui::Button(2, "Cancel", 104, 76, 50, 14),
          // Beside the specified controls, which keep their places.
          ui::Label("&Devices present:", 204, 10, 160, 9, D::kPresent),
          ui::ListBox(D::kPresent, 204, 20, 160, 70).with(ui::kVScroll | ui::kTabStops),
      },
  };
  return t;
}
