#include "monitor/app/monitor_app.h"

#include "monitor/core/menu_ids.h"
#include "monitor/traffic/modem_status_dialog.h"
#include "monitor/traffic/read_register_dialog.h"

MonitorApp::MonitorApp(CoreServices services)
    : core_(services), apply_(core_, records_, service_unit_) {
  wireConfiguration();
}

void MonitorApp::wireConfiguration() {
  auto& hooks = core_.connection().hooks();
  hooks.configure_device = [this] { apply_.Run(); };
  hooks.set_utilities_menu = [this](bool enabled) { service_unit_.SetUtilitiesMenu(core_.host(), enabled); };
  MainWindow& main = core_.mainWindow();
  main.addCommand(kMenuSetModemStatus, [this] {
    SetModemStatusDialog dialog(core_.exec());
    core_.host().runModal(SetModemStatusTemplate(), dialog);
  });
  main.addCommand(kMenuReadRegister, [this] {
    ReadRegisterDialog dialog(core_.exec());
    core_.host().runModal(ReadRegisterTemplate(), dialog);
  });
}
