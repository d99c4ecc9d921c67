#pragma once
// The one device the monitor works with: its name, the open handle, the
// connection and configured flags, the configuration read at opening, the
// firmware code version, and the menu states that follow the connection.

#include <functional>
#include <memory>
#include <string>

#include "driver_if/card_driver.h"
#include "driver_if/records.h"
#include "driver_if/execute.h"
#include "monitor/core/monitor_windows.h"
#include "monitor/core/profile_store.h"
#include "ui/host.h"
#include "ui/prompter.h"

// What later parts of the monitor plug into the connection.
struct ConnectionHooks {
  std::function<void()> configure_device;       // the Configure Device flow
  std::function<bool()> communications_enabled;
  std::function<void()> disable_communications;
  std::function<void(bool enabled)> set_utilities_menu;
  std::function<void()> close_all_tool_windows;
  std::function<void()> opened;   // Open Device succeeded
  std::function<void()> closing;  // Close Device, before any window closes
};

// The memory dump is the one command behind the not-connected guard.
inline const std::string kMemoryDumpCaption = "Memory Dump";

class DeviceConnection {
 public:
  DeviceConnection(ui::Host& host, ui::Prompter& prompter, CardDriver& driver, ProfileStore& settings,
                   CommandExecutor& exec, MonitorWindows& windows);

  ConnectionHooks& hooks() { return hooks_; }

  const std::string& deviceName() const { return device_name_; }
  void setDeviceName(std::string name) { device_name_ = std::move(name); }
  bool connected() const { return connected_; }
  DeviceHandle* handle() const { return handle_.get(); }
  bool configured() const { return configured_; }
  void setConfigured() { configured_ = true; }
  const StreamingConfig& configuration() const { return configuration_; }
  const std::string& codeVersion() const { return code_version_; }

  // Opens the current device for a purpose of its own (configuration flow,
  // reception thread). A name that is not a card device name fails like a
  // missing device, with error 2, before the driver sees it.
  std::unique_ptr<DeviceHandle> openDevice(uint32_t* error) const;
  // "Cannot open device! Error code %d."
  void showOpenError(uint32_t error) const;

  // Menu commands.
  void SelectDevice();
  void OpenDeviceCommand();
  void CloseDevice();
  void ConfigureDeviceCommand();
  void ShowStreamingConfiguration();
  // Guard of commands whose item is never greyed; true when connected. The
  // box takes the caption of the command's own boxes.
  bool requireConnection(const std::string& caption) const;

  bool OpenDevice();
  void ShowDeviceInfo();
  void SetDisconnectedMenus();
  void SetConnectedMenus();
  // The status field of the Polling and Device Info window, when open.
  void showStatus(std::string_view text);
  void openPollingInfo();

  // Program exit: communications off when enabled, then the handle closed.
  void closeAtExit();

 private:
  void closeHandle();

  ui::Host& host_;
  ui::Prompter& prompter_;
  CardDriver& driver_;
  ProfileStore& settings_;
  CommandExecutor& exec_;
  MonitorWindows& windows_;
  ConnectionHooks hooks_;

  std::string device_name_ = "TALVSTRM0";
  std::unique_ptr<DeviceHandle> handle_;
  bool connected_ = false;
  bool configured_ = false;
  StreamingConfig configuration_;  // as the card reported it at the last open
  std::string code_version_ = "?.??";
};
