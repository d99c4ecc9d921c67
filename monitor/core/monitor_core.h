#pragma once
// The monitor core assembled: settings, polling, the device connection, the
// main window and the monitor windows, over the injected services.

#include <functional>
#include <memory>

#include "driver_if/card_driver.h"
#include "driver_if/execute.h"
#include "monitor/core/device_connection.h"
#include "monitor/core/main_window.h"
#include "monitor/core/monitor_windows.h"
#include "monitor/core/polling.h"
#include "monitor/core/profile_store.h"
#include "monitor/core/stale_notice.h"
#include "monitor/core/window_layout.h"
#include "ui/host.h"
#include "ui/prompter.h"

struct CoreServices {
  ui::Host& host;
  ui::Prompter& prompter;
  CardDriver& driver;
  ProfileStore& settings;
  // Where the window layout is kept; none keeps no layout.
  ProfileStore* layout = nullptr;
};

class MonitorCore {
 public:
  explicit MonitorCore(CoreServices services);

  // Start-up up to the main loop. False when the main window cannot be
  // created; the process then exits with code 1.
  bool Start();
  // After the main loop: communications off and the device closed.
  int Exit(int exit_code);

  ui::Host& host() { return host_; }
  ui::Prompter& prompter() { return prompter_; }
  CardDriver& driver() { return driver_; }
  ProfileStore& settings() { return settings_; }
  CommandExecutor& exec() { return exec_; }
  Polling& polling() { return polling_; }
  MonitorWindows& windows() { return windows_; }
  DeviceConnection& connection() { return connection_; }
  MainWindow& mainWindow() { return main_window_; }
  StaleNotice& staleNotice() { return stale_notice_; }

  // A receiver of the polling tick after the monitor windows.
  void addTickReceiver(std::function<void()> receiver) { tick_receivers_.push_back(std::move(receiver)); }

 private:
  ui::Host& host_;
  ui::Prompter& prompter_;
  CardDriver& driver_;
  ProfileStore& settings_;
  CommandExecutor exec_;
  Polling polling_;
  MonitorWindows windows_;
  DeviceConnection connection_;
  MainWindow main_window_;
  StaleNotice stale_notice_;
  std::unique_ptr<WindowLayout> layout_;
  std::vector<std::function<void()>> tick_receivers_;
};
