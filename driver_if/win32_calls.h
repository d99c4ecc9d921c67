#pragma once
// The system calls the Win32 backend makes, behind an interface so tests
// can put a simulated card driver where the real one would answer.

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// Same arguments and results as the Windows functions of the same name;
// a failure leaves its code for GetLastError() on the calling thread.
class Win32Calls {
 public:
  virtual ~Win32Calls() = default;
  virtual HANDLE createFile(LPCSTR path, DWORD access, DWORD share, DWORD disposition,
                            DWORD flags) = 0;
  virtual BOOL deviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD in_len, LPVOID out,
                               DWORD out_len, LPDWORD returned) = 0;
  virtual BOOL cancelIoEx(HANDLE handle) = 0;
  virtual BOOL closeHandle(HANDLE handle) = 0;
};

// The real ones.
Win32Calls& SystemWin32Calls();

#endif
