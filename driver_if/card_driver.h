#pragma once
// The card driver as both programs see it: devices opened by name, and
// synchronous device control requests on the handle.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class DeviceHandle {
 public:
  virtual ~DeviceHandle() = default;  // closes the handle

  // One synchronous device control request. Returns the request's own
  // success flag; on success *returned (when given) holds the number of
  // output bytes the driver wrote to the start of out. Output bytes the
  // driver did not write keep what the caller left there.
  virtual bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
                       uint32_t* returned) = 0;

  // Fails the request in progress and every later one. Safe from any thread;
  // it is how a blocked reader is released.
  virtual void cancel() = 0;
};

class CardDriver {
 public:
  virtual ~CardDriver() = default;
  // Opens a device; on failure returns null and sets *error to the platform's
  // error code (2 when there is no such device).
  virtual std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) = 0;
};

inline constexpr uint32_t kErrorDeviceNotFound = 2;
