#pragma once
// The configuration the monitor gives a card, kept in memory for the run:
// the CHDLC parameters, the T1/E1 line parameters and the Active Channels
// text the channel bitmap was computed from.

#include <string>

#include "driver_if/records.h"

inline constexpr size_t kMaxActiveChannelsText = 97;

struct ConfigurationRecords {
  StreamingConfig streaming;
  TECardConfig te;
  std::string active_channels_text = "ALL";
};
