#include "driver_if/default_driver.h"

#ifdef _WIN32
#include "driver_if/win32_driver.h"
std::unique_ptr<CardDriver> MakeDefaultCardDriver() { return std::make_unique<Win32CardDriver>(); }
#else
#include "driver_if/socket_driver.h"
std::unique_ptr<CardDriver> MakeDefaultCardDriver() { return std::make_unique<SocketCardDriver>(); }
#endif
