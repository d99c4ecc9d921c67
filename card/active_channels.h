#pragma once
// The Active Channels text: "ALL", "NONE", empty, or a comma-separated list
// of channel numbers and ranges such as "1-12,15".

#include <cstdint>
#include <string_view>

bool ValidateChannelList(std::string_view text, uint8_t media_type);

// The channel bitmap of a validated text: bit k set means channel k+1;
// channel 0 (accepted on E1) wraps to bit 31.
uint32_t ConvertChannelList(std::string_view text);
