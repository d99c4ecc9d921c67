#pragma once
// The card driver presents its cards as TALVSTRM0 .. TALVSTRM15.

#include <optional>
#include <string>
#include <string_view>

inline constexpr int kMaxCards = 16;

// "TALVSTRM" followed by 0 to 15 in decimal without leading zeros.
bool IsCardDeviceName(std::string_view name);

// The card index of a valid device name.
std::optional<int> CardIndexOf(std::string_view name);

std::string CardDeviceName(int index);
