#ifdef _WIN32

#include "driver_if/win32_calls.h"

namespace {

class SystemCalls : public Win32Calls {
 public:
  HANDLE createFile(LPCSTR path, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags) override {
    return CreateFileA(path, access, share, nullptr, disposition, flags, nullptr);
  }
  BOOL deviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD in_len, LPVOID out,
                       DWORD out_len, LPDWORD returned) override {
    return DeviceIoControl(handle, code, in, in_len, out, out_len, returned, nullptr);
  }
  BOOL cancelIoEx(HANDLE handle) override { return CancelIoEx(handle, nullptr); }
  BOOL closeHandle(HANDLE handle) override { return CloseHandle(handle); }
};

}  // namespace

Win32Calls& SystemWin32Calls() {
  static SystemCalls calls;
  return calls;
}

#endif
