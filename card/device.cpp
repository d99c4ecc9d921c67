#include "card/device.h"

#include "driver_if/device_names.h"

namespace card {

std::unique_ptr<Device> Device::Open(CardDriver& driver, std::string_view name, uint32_t* error) {
  *error = kErrorDeviceNotFound;
  if (!IsCardDeviceName(name)) return nullptr;
  *error = 0;
  std::unique_ptr<DeviceHandle> handle = driver.open(name, error);
  if (handle == nullptr) {
    if (*error == 0) *error = kErrorDeviceNotFound;
    return nullptr;
  }
  return std::unique_ptr<Device>(new Device(std::string(name), std::move(handle)));
}

Device::Device(std::string name, std::unique_ptr<DeviceHandle> handle)
    : name_(std::move(name)), handle_(std::move(handle)) {
  exec_.setHandle(handle_.get());
}

Device::~Device() { exec_.setHandle(nullptr); }

}  // namespace card
