#pragma once
// The settings file of a benchmarked talvmon: polling by timer every 100 ms,
// TALVSTRM0 as the device.

#include <fstream>
#include <string>

namespace bench {

// Writes <directory>/talvmon.ini and returns its path.
inline std::string WriteTimerSettings(const std::string& directory) {
  std::string path = directory + "/talvmon.ini";
  std::ofstream(path) << "[Polling]\nuse_system_timer=1\ntick_interval_ms=100\n"
                      << "[Hardware]\ndefault_device=TALVSTRM0\n";
  return path;
}

}  // namespace bench
