#ifdef _WIN32

#include "tests/driver_if/simulated_win32_calls.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace wintest {

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr DWORD kMethodBuffered = 0;

}  // namespace

HANDLE SimulatedWin32Calls::createFile(LPCSTR path, DWORD access, DWORD share, DWORD disposition,
                                       DWORD flags) {
  std::string_view p(path);
  {
    std::lock_guard lock(mutex_);
    opens_.push_back({std::string(p), access, share, disposition, flags});
  }
  if (fail_next_open != 0) {
    SetLastError(std::exchange(fail_next_open, 0));
    return INVALID_HANDLE_VALUE;
  }
  if (!p.starts_with(kDevicePrefix)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  uint32_t error = 0;
  auto device = driver_.open(p.substr(kDevicePrefix.size()), &error);
  if (!device) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  std::lock_guard lock(mutex_);
  uintptr_t id = next_;
  next_ += 4;
  handles_[id] = std::move(device);
  return reinterpret_cast<HANDLE>(id);
}

DeviceHandle* SimulatedWin32Calls::find(HANDLE handle) {
  std::lock_guard lock(mutex_);
  auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
  return it == handles_.end() ? nullptr : it->second.get();
}

BOOL SimulatedWin32Calls::deviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD in_len,
                                          LPVOID out, DWORD out_len, LPDWORD returned) {
  if (before_io_control) before_io_control(code);
  DeviceHandle* device = find(handle);
  if (device == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  IoControlCall call{code, {}, out_len, FALSE, 0, {}};
  auto* in_bytes = static_cast<const uint8_t*>(in);
  auto* out_bytes = static_cast<uint8_t*>(out);
  if (in_bytes != nullptr) call.in.assign(in_bytes, in_bytes + in_len);

  // Buffered requests reach the driver in one system buffer holding the
  // input, and only the bytes it reports come back; direct ones write
  // straight into the caller's output buffer.
  uint32_t got = 0;
  bool ok;
  ++pending_;
  if ((code & 3) == kMethodBuffered) {
    std::vector<uint8_t> system(std::max(in_len, out_len));
    if (in_bytes != nullptr) std::copy_n(in_bytes, in_len, system.data());
    ok = device->control(code, system.data(), in_len, system.data(), out_len, &got);
    if (ok) std::copy_n(system.data(), std::min<uint32_t>(got, out_len), out_bytes);
  } else {
    ok = device->control(code, call.in.data(), in_len, out_bytes, out_len, &got);
  }
  --pending_;
  if (returned != nullptr) *returned = ok ? got : 0;
  call.ok = ok;
  call.returned = ok ? got : 0;
  if (out_bytes != nullptr) call.out.assign(out_bytes, out_bytes + out_len);
  {
    std::lock_guard lock(mutex_);
    io_controls_.push_back(std::move(call));
  }
  if (!ok) SetLastError(ERROR_GEN_FAILURE);
  return ok ? TRUE : FALSE;
}

// Like the system's, it cancels only requests already in the driver.
BOOL SimulatedWin32Calls::cancelIoEx(HANDLE handle) {
  ++cancels_;
  DeviceHandle* device = find(handle);
  if (device == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (pending_ == 0) {
    SetLastError(ERROR_NOT_FOUND);
    return FALSE;
  }
  device->cancel();
  return TRUE;
}

BOOL SimulatedWin32Calls::closeHandle(HANDLE handle) {
  std::unique_ptr<DeviceHandle> device;
  {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(reinterpret_cast<uintptr_t>(handle));
    if (it != handles_.end()) {
      device = std::move(it->second);
      handles_.erase(it);
    }
  }
  if (!device) {
    ++bad_closes_;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

std::vector<OpenCall> SimulatedWin32Calls::opens() const {
  std::lock_guard lock(mutex_);
  return opens_;
}

std::vector<IoControlCall> SimulatedWin32Calls::ioControls() const {
  std::lock_guard lock(mutex_);
  return io_controls_;
}

int SimulatedWin32Calls::openHandles() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

}  // namespace wintest

#endif
