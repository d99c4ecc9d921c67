#include "monitor/core/device_connection.h"

#include <algorithm>
#include <cstdio>

#include "card/chdlc.h"
#include "driver_if/device_names.h"
#include "monitor/core/device_listing.h"
#include "monitor/core/menu_ids.h"
#include "monitor/core/settings.h"
#include "monitor/core/select_device_dialog.h"
#include "monitor/core/streaming_configuration_window.h"

namespace {

constexpr int kConnectionItems[] = {
    kMenuLinkStatus,     kMenuOperationalStatistics, kMenuCommErrorStatistics, kMenuModemStatus,
    kMenuOpenAll,        kMenuStreaming,             kMenuEnableCommunications,
    kMenuDisableCommunications, kMenuSetModemStatus, kMenuSendFrames,
    kMenuTe1Alarms,      kMenuTe1Tests,              kMenu56KStatus,           kMenuReadRegister,
};

}  // namespace

DeviceConnection::DeviceConnection(ui::Host& host, ui::Prompter& prompter, CardDriver& driver,
                                   ProfileStore& settings, CommandExecutor& exec,
                                   MonitorWindows& windows)
    : host_(host), prompter_(prompter), driver_(driver), settings_(settings), exec_(exec),
      windows_(windows) {}

std::unique_ptr<DeviceHandle> DeviceConnection::openDevice(uint32_t* error) const {
  if (!IsCardDeviceName(device_name_)) {
    *error = kErrorDeviceNotFound;
    return nullptr;
  }
  *error = 0;
  auto handle = driver_.open(device_name_, error);
  if (handle == nullptr && *error == 0) *error = kErrorDeviceNotFound;
  return handle;
}

void DeviceConnection::showOpenError(uint32_t error) const {
  char text[64];
  std::snprintf(text, sizeof text, "Cannot open device! Error code %d.", static_cast<int>(error));
  prompter_.show({text, "Open Error", ui::Icon::Warning});
}

void DeviceConnection::showStatus(std::string_view text) {
  if (PollingInfoWindow* p = windows_.pollingInfo()) p->showStatus(text);
}

void DeviceConnection::openPollingInfo() { windows_.open(MonitorKind::PollingInfo); }

void DeviceConnection::ShowDeviceInfo() {
  PollingInfoWindow* p = windows_.pollingInfo();
  if (p == nullptr) return;
  p->showDeviceName(device_name_);
  p->showStatus(connected_ ? "Opened" : "Closed");
}

void DeviceConnection::SelectDevice() {
  SelectDeviceDialog dialog(device_name_, StoredDefaultDevice(settings_), ListPresentDevices(driver_));
  if (host_.runModal(SelectDeviceTemplate(), dialog) == SelectDeviceDialog::kAccepted) {
    if (dialog.setAsDefault()) settings_.write("Hardware", "default_device", dialog.deviceName());
    device_name_ = dialog.deviceName();
  }
  ShowDeviceInfo();
}

void DeviceConnection::OpenDeviceCommand() {
  if (connected_) return;
  if (!configured_ && hooks_.configure_device) hooks_.configure_device();
  const bool opened = OpenDevice();
  ShowDeviceInfo();
  if (opened && hooks_.opened) hooks_.opened();
}

bool DeviceConnection::OpenDevice() {
  openPollingInfo();
  showStatus("Opening...");
  uint32_t error = 0;
  handle_ = openDevice(&error);
  if (handle_ == nullptr) {
    showOpenError(error);
    return false;
  }
  connected_ = true;
  exec_.setHandle(handle_.get());

  std::optional<StreamingConfig> configuration = card::ReadStreamingConfigWithRetry(exec_);
  if (!configuration) {
    prompter_.show({"Unable to obtain streaming configuration.  Make sure the device name is "
                    "correct and that another process has already set the configuration.",
                    "Command Error", ui::Icon::Error});
    closeHandle();
    return false;
  }
  configuration_ = *configuration;
  code_version_ = card::ReadCodeVersion(exec_).value;
  SetConnectedMenus();
  return true;
}

void DeviceConnection::closeHandle() {
  // Windows that outlive the connection must fail their requests, never
  // reach a handle that is gone.
  exec_.setHandle(nullptr);
  handle_.reset();
  connected_ = false;
}

void DeviceConnection::CloseDevice() {
  if (!connected_) return;
  if (hooks_.closing) hooks_.closing();
  if (hooks_.communications_enabled && hooks_.communications_enabled() && hooks_.disable_communications)
    hooks_.disable_communications();
  if (hooks_.close_all_tool_windows) hooks_.close_all_tool_windows();
  closeHandle();
  ShowDeviceInfo();
  SetDisconnectedMenus();
}

void DeviceConnection::closeAtExit() {
  if (!connected_) return;
  if (hooks_.communications_enabled && hooks_.communications_enabled() && hooks_.disable_communications)
    hooks_.disable_communications();
  closeHandle();
}

void DeviceConnection::ConfigureDeviceCommand() {
  if (!connected_ && hooks_.configure_device) hooks_.configure_device();
}

void DeviceConnection::ShowStreamingConfiguration() {
  StreamingConfigurationWindow window(configuration_, code_version_);
  host_.runModal(StreamingConfigurationTemplate(), window);
}

bool DeviceConnection::requireConnection(const std::string& caption) const {
  if (connected_) return true;
  prompter_.show({"The application is not connected to the driver. Please use File->Open Device "
                  "to connect to the driver.",
                  caption, ui::Icon::Information});
  return false;
}

void DeviceConnection::SetDisconnectedMenus() {
  for (int id : kConnectionItems) host_.setMenuEnabled(id, false);
  host_.setMenuEnabled(kMenuSelectDevice, true);
  host_.setMenuEnabled(kMenuCloseDevice, false);
  host_.setMenuEnabled(kMenuOpenDevice, true);
  host_.setMenuEnabled(kMenuConfigureDevice, true);
  if (hooks_.set_utilities_menu) hooks_.set_utilities_menu(false);
}

void DeviceConnection::SetConnectedMenus() {
  for (int id : kConnectionItems) host_.setMenuEnabled(id, true);
  host_.setMenuEnabled(kMenuSelectDevice, false);
  host_.setMenuEnabled(kMenuCloseDevice, true);
  host_.setMenuEnabled(kMenuOpenDevice, false);
  host_.setMenuEnabled(kMenuConfigureDevice, false);
  if (hooks_.set_utilities_menu) hooks_.set_utilities_menu(true);
}
