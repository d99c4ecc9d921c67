#include "configurator/dialog_templates.h"

namespace configurator {

using namespace ui;

FormTemplate MainDialogTemplate() {
  FormTemplate t;
  t.name = "102";
  t.title = "Talvora Talvlink Configurator";
  t.icon = kProgramIcon;
  t.w = 320;
  t.h = 150;
  ControlTemplate devices = ListBox(kDeviceList, 14, 20, 292, 96).with(kVScroll | kTabStops);
  // Not shown; names the list for assistive technology.
  devices.text = "Devices Available for API:";
  t.controls = {
      GroupBox(kNoId, "Devices Available for API:", 7, 7, 306, 116),
      devices,
      Button(kCloseButton, "CLOSE", 135, 129, 50, 14).with(kDefaultButton),
  };
  // The window manager owns the system menu, so the entry lives here.
  t.context_menu = {{kAboutCommand, kAboutMenuText}};
  return t;
}

FormTemplate AboutDialogTemplate() {
  FormTemplate t;
  t.name = "100";
  t.title = "About Configurator";
  t.icon = kProgramIcon;
  t.w = 200;
  t.h = 56;
  t.controls = {
      IconImage(kProgramIcon, 10, 10, 21, 20),
      Text(kNoId, "Talvora Talvlink Configurator (PnP Version)", 38, 16, 156, 8),
      Button(kOkButton, "OK", 75, 36, 50, 14).with(kDefaultButton),
  };
  return t;
}

}  // namespace configurator
