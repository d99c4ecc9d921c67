#ifdef _WIN32

#include "driver_if/win32_driver.h"

#include <atomic>
#include <limits>
#include <string>

#include "driver_if/device_names.h"

namespace {

class Win32DeviceHandle : public DeviceHandle {
 public:
  Win32DeviceHandle(Win32Calls& calls, HANDLE handle) : calls_(calls), handle_(handle) {}
  ~Win32DeviceHandle() override { calls_.closeHandle(handle_); }

  bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
               uint32_t* returned) override {
    constexpr size_t kMax = std::numeric_limits<DWORD>::max();
    // Counted before the flag is read, so cancel() either sees this request
    // or this request sees the flag.
    in_flight_.fetch_add(1);
    struct Leave {
      std::atomic<int>& count;
      ~Leave() { count.fetch_sub(1); }
    } leave{in_flight_};
    if (cancelled_ || in_len > kMax || out_len > kMax) return false;
    DWORD bytes = 0;
    BOOL ok = calls_.deviceIoControl(handle_, code, const_cast<void*>(in),
                                     static_cast<DWORD>(in_len), out,
                                     static_cast<DWORD>(out_len), &bytes);
    if (ok && returned != nullptr) *returned = bytes;
    return ok != FALSE;
  }

  // Releases a request blocked in another thread on this handle; the flag
  // refuses every later one. A request that read the flag just before may
  // reach the driver only after a CancelIoEx found nothing to cancel, so
  // cancelling repeats until no request is left in flight.
  void cancel() override {
    cancelled_ = true;
    while (in_flight_.load() > 0) {
      calls_.cancelIoEx(handle_);
      Sleep(1);
    }
  }

 private:
  Win32Calls& calls_;
  HANDLE handle_;
  std::atomic<bool> cancelled_{false};
  std::atomic<int> in_flight_{0};
};

}  // namespace

std::unique_ptr<DeviceHandle> Win32CardDriver::open(std::string_view name, uint32_t* error) {
  if (!IsCardDeviceName(name)) {
    if (error != nullptr) *error = kErrorDeviceNotFound;
    return nullptr;
  }
  std::string path = "\\\\.\\" + std::string(name);
  HANDLE handle = calls_.createFile(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                    FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING);
  if (handle == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32DeviceHandle>(calls_, handle);
}

#endif
