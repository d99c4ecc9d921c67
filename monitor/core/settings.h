#pragma once
// The monitor's few settings in "talvmon.ini", read once at start-up.

#include <cstdint>
#include <string>

#include "monitor/core/profile_store.h"

inline constexpr size_t kMaxDeviceName = 48;

struct MonitorSettings {
  uint32_t loop_count = 20 * 1000;  // tick_interval x 1000
  uint16_t tick_interval_ms = 100;
  bool use_system_timer = true;
  std::string default_device = "TALVSTRM0";
  bool auto_arrange_on_resize = true;
};

// Missing keys take their defaults; values out of the range the
// configuration dialog allows are brought into it, so no later product,
// division or modulo can overflow or divide by zero.
MonitorSettings LoadSettings(const ProfileStore& store);

// The stored default_device, or "" when none is stored.
std::string StoredDefaultDevice(const ProfileStore& store);

// A typed device name as it may be kept: at most 48 characters, no line breaks.
std::string CleanDeviceName(std::string_view text);
