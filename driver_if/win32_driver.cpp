#ifdef _WIN32

#include "driver_if/win32_driver.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <atomic>
#include <limits>
#include <string>

#include "driver_if/device_names.h"

namespace {

class Win32DeviceHandle : public DeviceHandle {
 public:
  explicit Win32DeviceHandle(HANDLE handle) : handle_(handle) {}
  ~Win32DeviceHandle() override { CloseHandle(handle_); }

  bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
               uint32_t* returned) override {
    constexpr size_t kMax = std::numeric_limits<DWORD>::max();
    if (cancelled_ || in_len > kMax || out_len > kMax) return false;
    DWORD bytes = 0;
    BOOL ok = DeviceIoControl(handle_, code, const_cast<void*>(in), static_cast<DWORD>(in_len), out,
                              static_cast<DWORD>(out_len), &bytes, nullptr);
    if (ok && returned != nullptr) *returned = bytes;
    return ok != FALSE;
  }

  // Releases a request blocked in another thread on this handle; the flag
  // refuses every later one.
  void cancel() override {
    cancelled_ = true;
    CancelIoEx(handle_, nullptr);
  }

 private:
  HANDLE handle_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace

std::unique_ptr<DeviceHandle> Win32CardDriver::open(std::string_view name, uint32_t* error) {
  if (!IsCardDeviceName(name)) {
    if (error != nullptr) *error = kErrorDeviceNotFound;
    return nullptr;
  }
  std::string path = "\\\\.\\" + std::string(name);
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32DeviceHandle>(handle);
}

#endif
