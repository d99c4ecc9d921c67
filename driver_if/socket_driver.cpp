#include "driver_if/socket_driver.h"

// Placeholder until the socket backend lands.
std::string DefaultDeviceDirectory() { return {}; }
SocketCardDriver::SocketCardDriver(std::string directory) : directory_(std::move(directory)) {}
std::unique_ptr<DeviceHandle> SocketCardDriver::open(std::string_view, uint32_t* error) {
  if (error) *error = kErrorDeviceNotFound;
  return nullptr;
}
