// The settings file reader over any file content: the settings come out in
// range, and a write keeps every other line of the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "monitor/core/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/talvmon-fuzz-" + std::to_string(getpid()) + ".ini";
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
  ProfileFile file(path);
  MonitorSettings s = LoadSettings(file);
  if (s.loop_count < 1000 || s.loop_count > 65535u * 1000 || s.default_device.size() > kMaxDeviceName) std::abort();
  if (s.use_system_timer && s.tick_interval_ms == 0) std::abort();
  if (!file.write("Polling", "tick_interval", "20")) std::abort();
  if (file.read("Polling", "tick_interval") != "20") std::abort();
  return 0;
}
