#pragma once
// configure's key=value settings, checked as the configuration dialog checks
// its fields and laid onto the records the card is given.

#include <optional>
#include <span>
#include <string>

#include "driver_if/records.h"

namespace talvctl {

struct LineSetup {
  StreamingConfig chdlc;
  TECardConfig line;                    // line.media_type says which medium
  std::string channels = "ALL";        // the Active Channels text, for T1 and E1
};

// The setup a configure starts from: the card's CHDLC configuration where
// it reports one, the defaults otherwise, and the medium of the front end
// the card carries.
LineSetup StartingSetup(const std::optional<StreamingConfig>& reported, uint8_t front_end_type);

// Lays settings onto setup. The first bad setting's message, or nothing.
std::optional<std::string> ApplySettings(std::span<const std::string> settings, LineSetup& setup);

}  // namespace talvctl
