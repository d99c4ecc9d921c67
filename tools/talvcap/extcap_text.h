#pragma once
// What talvcap answers a packet analyser's extcap questions with.

#include <span>
#include <string>

#include "card/device_list.h"

namespace talvcap {

inline constexpr char kVersion[] = "1.0.0";

// The "extcap" line, then one "interface" line per device.
std::string ExtcapInterfaces(std::span<const card::PresentDevice> devices);
std::string ExtcapLinkTypes();
// The capture options the analyser offers in its dialog.
std::string ExtcapConfig();

}  // namespace talvcap
