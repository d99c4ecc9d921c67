#pragma once
// The monitor windows' layout per device, kept in a file of its own next to
// "talvmon.ini": the main window's geometry, which monitor windows were
// open, and where each sat and whether it was minimised. Anything missing or
// unreadable in the file leaves the windows where they open by default.

#include <string>

#include "monitor/core/monitor_windows.h"
#include "monitor/core/profile_store.h"
#include "ui/host.h"

// "talvmon-layout.ini" in the folder of the settings file.
std::string LayoutPath(const std::string& settings_path);

class WindowLayout {
 public:
  WindowLayout(ui::Host& host, MonitorWindows& windows, ProfileStore& file)
      : host_(host), windows_(windows), file_(file) {}

  // At start-up: the main window and the Polling and Device Info window.
  void restoreMainWindow(const std::string& device);
  // Once the device is open: the other monitor windows that were open, each
  // where it was.
  void restoreWindows(const std::string& device);
  // Records the main window and every open monitor window. The list of open
  // windows is recorded only with_window_list (while connected; the other
  // windows cannot be open otherwise).
  void save(const std::string& device, bool with_window_list);

 private:
  void place(MonitorKind kind, const std::string& device);

  ui::Host& host_;
  MonitorWindows& windows_;
  ProfileStore& file_;
};
