#pragma once
// The frame of the monitor: its menu commands, the polling timer and loop
// passes, and the closing of all tool windows.

#include <functional>
#include <map>
#include <vector>

#include "monitor/core/device_connection.h"
#include "monitor/core/monitor_windows.h"
#include "monitor/core/polling.h"
#include "monitor/core/profile_store.h"
#include "ui/host.h"

inline constexpr char kMainWindowTitle[] = "Talvlink Monitor (VR20/VR40)";

class MainWindow : public ui::MainWindowHandler {
 public:
  MainWindow(ui::Host& host, ui::Prompter& prompter, ProfileStore& settings, Polling& polling,
             MonitorWindows& windows, DeviceConnection& connection);

  // Commands of later parts of the monitor, by menu id.
  void addCommand(int id, std::function<void()> action) { commands_[id] = std::move(action); }
  // Asked to close when all tool windows close (each checks its own open flag).
  void addUtilityWindowCloser(std::function<void()> closer) { closers_.push_back(std::move(closer)); }
  // Told first when the main window goes, before any tool window closes.
  void addLeavingListener(std::function<void()> listener) { leaving_listeners_.push_back(std::move(listener)); }
  // A click on a field of the status bar.
  void addStatusAction(ui::StatusField field, std::function<void()> action) { status_actions_[field] = std::move(action); }
  // Told when the main window goes, while its child windows still exist.
  void addDestroyListener(std::function<void()> listener) { destroy_listeners_.push_back(std::move(listener)); }

  void closeAllToolWindows(bool reopen_polling_info);

  bool autoArrange() const { return auto_arrange_; }
  void setAutoArrange(bool on) { auto_arrange_ = on; }

  // ui::MainWindowHandler
  void onMenuCommand(int id) override;
  void onPollTimer() override { polling_.onPollTimer(); }
  void onLoopPass() override { polling_.onLoopPass(); }
  void onRestored() override;
  void onDestroy() override;
  void onStatusClicked(ui::StatusField field) override;

 private:
  void addBuiltInCommands();
  void toggleAutoArrange();

  ui::Host& host_;
  ui::Prompter& prompter_;
  ProfileStore& settings_;
  Polling& polling_;
  MonitorWindows& windows_;
  DeviceConnection& connection_;
  bool auto_arrange_ = true;
  std::map<int, std::function<void()>> commands_;
  std::vector<std::function<void()>> closers_;
  std::vector<std::function<void()>> destroy_listeners_;
  std::vector<std::function<void()>> leaving_listeners_;
  std::map<ui::StatusField, std::function<void()>> status_actions_;
};
