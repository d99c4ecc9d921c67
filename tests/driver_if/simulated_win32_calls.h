#pragma once
// The Win32 backend's system calls answered by the in-process simulator,
// the way the I/O manager would hand them to the card driver, with every
// call recorded so tests can check the bytes that cross DeviceIoControl.

#ifdef _WIN32

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cardsim/sim_driver.h"
#include "driver_if/win32_calls.h"

namespace wintest {

struct OpenCall {
  std::string path;
  DWORD access, share, disposition, flags;
};

struct IoControlCall {
  DWORD code;
  std::vector<uint8_t> in;
  DWORD out_len;
  BOOL ok;
  DWORD returned;
  std::vector<uint8_t> out;  // the caller's whole output buffer afterwards
};

class SimulatedWin32Calls : public Win32Calls {
 public:
  explicit SimulatedWin32Calls(cardsim::Simulator& simulator) : driver_(simulator) {}

  HANDLE createFile(LPCSTR path, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags) override;
  BOOL deviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD in_len, LPVOID out,
                       DWORD out_len, LPDWORD returned) override;
  BOOL cancelIoEx(HANDLE handle) override;
  BOOL closeHandle(HANDLE handle) override;

  // Runs on the calling thread at the start of each DeviceIoControl.
  std::function<void(DWORD code)> before_io_control;
  // Fails the next CreateFile with this error instead of asking the simulator.
  DWORD fail_next_open = 0;

  std::vector<OpenCall> opens() const;
  std::vector<IoControlCall> ioControls() const;
  int openHandles() const;
  int badCloses() const { return bad_closes_; }
  int cancels() const { return cancels_; }

 private:
  DeviceHandle* find(HANDLE handle);

  cardsim::SimDriver driver_;
  mutable std::mutex mutex_;
  std::map<uintptr_t, std::unique_ptr<DeviceHandle>> handles_;
  uintptr_t next_ = 0x100;
  std::vector<OpenCall> opens_;
  std::vector<IoControlCall> io_controls_;
  std::atomic<int> bad_closes_{0};
  std::atomic<int> cancels_{0};
  std::atomic<int> pending_{0};  // requests inside the driver, on any handle
};

}  // namespace wintest

#endif
