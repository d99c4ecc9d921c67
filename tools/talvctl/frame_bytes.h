#pragma once
// The bytes of a frame given on the command line.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace talvctl {

// Blank-separated tokens of one or two hexadecimal digits ("03 CC 45").
// On a bad token, the message names it and its place.
std::variant<std::vector<uint8_t>, std::string> ParseHexBytes(std::string_view text);

// "03 CC 45"
std::string HexBytes(const uint8_t* bytes, size_t count);

}  // namespace talvctl
