#pragma once
// The real card driver: devices in the \\.\ name space, device control
// requests through DeviceIoControl.

#ifdef _WIN32

#include "driver_if/card_driver.h"
#include "driver_if/win32_calls.h"

class Win32CardDriver : public CardDriver {
 public:
  explicit Win32CardDriver(Win32Calls& calls = SystemWin32Calls()) : calls_(calls) {}

  // A name that is not a card device fails with kErrorDeviceNotFound before
  // anything is opened; other failures with GetLastError().
  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override;

 private:
  Win32Calls& calls_;
};

#endif
