#include "monitor/core/monitor_core.h"

#include "monitor/core/main_menu.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/settings.h"

namespace {
constexpr int kUtilityItems[] = {kMenuFt1Status, kMenuFt1Statistics, kMenuFt1Configuration,
                                 kMenuAdvancedFt1, kMenuTe1Alarms, kMenuTe1Tests,
                                 kMenu56KStatus, kMenuReadRegister};
}

MonitorCore::MonitorCore(CoreServices s)
    : host_(s.host), prompter_(s.prompter), driver_(s.driver), settings_(s.settings),
      exec_(s.prompter), polling_(s.host, s.prompter), windows_(s.host, exec_),
      connection_(s.host, s.prompter, s.driver, s.settings, exec_, windows_),
      main_window_(s.host, s.prompter, s.settings, polling_, windows_, connection_),
      stale_notice_(s.host) {
  if (s.layout != nullptr) layout_ = std::make_unique<WindowLayout>(s.host, windows_, *s.layout);
  polling_.connected = [this] { return connection_.connected(); };
  polling_.deliver = [this] {
    windows_.tick();
    stale_notice_.update(connection_.deviceName(), windows_.allAnswering());
    for (auto& receiver : tick_receivers_) receiver();
  };
  windows_.polling_info_opened = [this] { connection_.ShowDeviceInfo(); };
  auto& hooks = connection_.hooks();
  hooks.close_all_tool_windows = [this] {
    main_window_.closeAllToolWindows(true);
    stale_notice_.clear();
  };
  hooks.opened = [this] {
    if (layout_) layout_->restoreWindows(connection_.deviceName());
  };
  hooks.closing = [this] {
    if (layout_) layout_->save(connection_.deviceName(), true);
  };
  main_window_.addLeavingListener([this] {
    if (layout_) layout_->save(connection_.deviceName(), connection_.connected());
  });
  // Until a service unit has been detected no utility item is available.
  hooks.set_utilities_menu = [this](bool) {
    for (int id : kUtilityItems) host_.setMenuEnabled(id, false);
  };
}

bool MonitorCore::Start() {
  MonitorSettings s = LoadSettings(settings_);
  polling_.configure(s);
  connection_.setDeviceName(s.default_device);
  main_window_.setAutoArrange(s.auto_arrange_on_resize);

  if (!host_.createMainWindow(kMainWindowTitle, MainMenuTemplate(), main_window_)) return false;
  polling_.setMainWindowDestroyed(false);
  host_.setNeverWaiting(true);
  if (polling_.useSystemTimer()) polling_.InstallPollTimer();
  connection_.SetDisconnectedMenus();
  host_.setMenuChecked(kMenuAutoArrange, s.auto_arrange_on_resize);
  windows_.open(MonitorKind::PollingInfo);
  if (layout_) layout_->restoreMainWindow(connection_.deviceName());
  return true;
}

int MonitorCore::Exit(int exit_code) {
  connection_.closeAtExit();
  return exit_code;
}
