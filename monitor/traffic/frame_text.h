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

// A token of the hexadecimal box that holds a character other than a
// hexadecimal digit, and the byte it is sent as all the same.
struct NonHexToken {
  size_t start = 0;   // byte offset in the text
  size_t length = 0;
  uint8_t sent_as = 0;
};

std::vector<NonHexToken> NonHexTokens(std::string_view text);
