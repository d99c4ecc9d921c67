#include "monitor/core/main_window.h"

#include "monitor/core/about_dialog.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/polling_config_dialog.h"

MainWindow::MainWindow(ui::Host& host, ui::Prompter& prompter, ProfileStore& settings,
                       Polling& polling, MonitorWindows& windows, DeviceConnection& connection)
    : host_(host), prompter_(prompter), settings_(settings), polling_(polling), windows_(windows),
      connection_(connection) {
  addBuiltInCommands();
}

void MainWindow::addBuiltInCommands() {
  auto& c = connection_;
  auto& w = windows_;
  commands_[kMenuSelectDevice] = [&c] { c.SelectDevice(); };
  commands_[kMenuConfigure] = [this] {
    PollingConfigDialog dialog(polling_, settings_, prompter_);
    host_.runModal(PollingConfigTemplate(), dialog);
  };
  commands_[kMenuConfigureDevice] = [&c] { c.ConfigureDeviceCommand(); };
  commands_[kMenuOpenDevice] = [&c] { c.OpenDeviceCommand(); };
  commands_[kMenuCloseDevice] = [&c] { c.CloseDevice(); };
  commands_[kMenuAbout] = [this] {
    AboutDialog dialog;
    host_.runModal(AboutTemplate(), dialog);
  };
  commands_[kMenuExit] = [this] { host_.closeMainWindow(); };
  commands_[kMenuLinkStatus] = [&w] { w.open(MonitorKind::LinkStatus); };
  commands_[kMenuOperationalStatistics] = [&w] { w.open(MonitorKind::OperationalStatistics); };
  commands_[kMenuCommErrorStatistics] = [&w] { w.open(MonitorKind::CommErrorStatistics); };
  commands_[kMenuModemStatus] = [&w] { w.open(MonitorKind::ModemStatus); };
  commands_[kMenuPollingInfo] = [&w] { w.open(MonitorKind::PollingInfo); };
  commands_[kMenuPollNow] = [this] { polling_.PollTick(true); };
  commands_[kMenuSuspendPolling] = [this] {
    polling_.setSuspended(!polling_.suspended());
    host_.setMenuChecked(kMenuSuspendPolling, polling_.suspended());
  };
  commands_[kMenuOpenAll] = [&w] {
    w.open(MonitorKind::LinkStatus);
    w.open(MonitorKind::OperationalStatistics);
    w.open(MonitorKind::CommErrorStatistics);
    w.open(MonitorKind::ModemStatus);
  };
  commands_[kMenuArrangeIcons] = [this] { host_.arrangeIcons(); };
  commands_[kMenuMinimizeAll] = [&w] { w.minimizeAll(); };
  commands_[kMenuAutoArrange] = [this] { toggleAutoArrange(); };
  commands_[kMenuStreaming] = [&c] { c.ShowStreamingConfiguration(); };
  commands_[kMenuMemoryDump] = [&c] { c.requireConnection(kMemoryDumpCaption); };
}

void MainWindow::onMenuCommand(int id) {
  auto it = commands_.find(id);
  if (it != commands_.end()) it->second();
}

void MainWindow::toggleAutoArrange() {
  auto_arrange_ = !auto_arrange_;
  settings_.write("Options", "auto_arrange_on_resize", auto_arrange_ ? "1" : "0");
  host_.setMenuChecked(kMenuAutoArrange, auto_arrange_);
}

void MainWindow::onRestored() {
  if (auto_arrange_) host_.arrangeIcons();
}

void MainWindow::closeAllToolWindows(bool reopen_polling_info) {
  bool polling_info_was_open = windows_.isOpen(MonitorKind::PollingInfo);
  windows_.destroyAll();
  if (polling_info_was_open && reopen_polling_info) windows_.open(MonitorKind::PollingInfo);
  for (auto& close : closers_) close();
}

void MainWindow::onStatusClicked(ui::StatusField field) {
  auto it = status_actions_.find(field);
  if (it != status_actions_.end()) it->second();
}

void MainWindow::onDestroy() {
  for (auto& listener : leaving_listeners_) listener();
  polling_.removePollTimer();
  polling_.setMainWindowDestroyed(true);
  // The windows go with the main window: none is reopened, none is remembered.
  closeAllToolWindows(false);
  for (auto& listener : destroy_listeners_) listener();
  host_.quit(0);
}
