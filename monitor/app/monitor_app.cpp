#include "monitor/app/monitor_app.h"

#include "monitor/core/menu_ids.h"
#include "monitor/traffic/modem_status_dialog.h"
#include "monitor/traffic/read_register_dialog.h"

MonitorApp::MonitorApp(CoreServices services)
    : core_(services), apply_(core_, records_, service_unit_), communications_(core_),
      ft1_utilities_(core_, service_unit_), front_end_utilities_(core_, service_unit_) {
  wireConfiguration();
  wireTraffic();
}

void MonitorApp::wireTraffic() {
  auto& hooks = core_.connection().hooks();
  hooks.communications_enabled = [this] { return communications_.enabled(); };
  hooks.disable_communications = [this] { communications_.Disable(); };
  MainWindow& main = core_.mainWindow();
  main.addCommand(kMenuEnableCommunications, [this] { communications_.Enable(); });
  main.addCommand(kMenuDisableCommunications, [this] { communications_.Disable(); });
  main.addCommand(kMenuSendFrames, [this] { communications_.OpenSendFrames(); });
  main.addDestroyListener([this] { communications_.forgetWindows(); });
  main.addStatusAction(ui::StatusField::Capture, [this] { communications_.openCaptureFolder(); });
  core_.addTickReceiver([this] { communications_.onPollTick(); });
}

void MonitorApp::wireConfiguration() {
  auto& hooks = core_.connection().hooks();
  hooks.configure_device = [this] { apply_.Run(); };
  hooks.set_utilities_menu = [this](bool enabled) {
    service_unit_.SetUtilitiesMenu(core_.host(), enabled);
    ft1_utilities_.keepOpenWindowItemsGrey();
  };
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
