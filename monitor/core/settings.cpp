#include "monitor/core/settings.h"

#include <algorithm>

MonitorSettings LoadSettings(const ProfileStore& store) {
  MonitorSettings s;
  if (auto v = store.read("Polling", "tick_interval")) {
    auto n = ProfileInteger(*v);
    long long interval = (!n || *n < 1) ? 20 : std::min<long long>(*n, 65535);
    s.loop_count = static_cast<uint32_t>(interval) * 1000;
  }
  if (auto v = store.read("Polling", "use_system_timer"))
    s.use_system_timer = (static_cast<unsigned long long>(ProfileInteger(*v).value_or(0)) & 0xFF) != 0;
  if (auto v = store.read("Polling", "tick_interval_ms")) {
    auto n = ProfileInteger(*v);
    if (n && *n >= 0) s.tick_interval_ms = static_cast<uint16_t>(std::min<long long>(*n, 65535));
  }
  if (s.use_system_timer && s.tick_interval_ms == 0) s.tick_interval_ms = 100;
  if (auto v = store.read("Hardware", "default_device")) s.default_device = CleanDeviceName(*v);
  if (auto v = store.read("Options", "auto_arrange_on_resize"))
    s.auto_arrange_on_resize = ProfileInteger(*v).value_or(0) != 0;
  return s;
}

std::string StoredDefaultDevice(const ProfileStore& store) {
  return CleanDeviceName(store.read("Hardware", "default_device").value_or(""));
}

std::string CleanDeviceName(std::string_view text) {
  std::string name;
  for (char c : text)
    if (c != '\r' && c != '\n') name += c;
  if (name.size() > kMaxDeviceName) name.resize(kMaxDeviceName);
  return name;
}
