#pragma once
// What the user types in the Send Frames window, turned into frame bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t kMaxFrameText = 999;

// At most 999 bytes of UTF-8 text, cut on a character boundary.
std::string CutFrameText(std::string_view text);

// One byte per run of non-blank characters, from its leading hexadecimal
// digits (at most two, either case); a token without a leading hex digit gives 0.
std::vector<uint8_t> HexFrameBytes(std::string_view text);
