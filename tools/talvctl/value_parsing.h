#pragma once
// Strict parsing of command-line values: the whole text must be the value.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "card/line_configuration.h"

namespace talvctl {

// Decimal digits only, at most max.
std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t max);
// Hexadecimal digits, with or without 0x, at most max.
std::optional<uint32_t> ParseHex(std::string_view text, uint32_t max);
// "on" or "off".
std::optional<bool> ParseOnOff(std::string_view text);
// A table entry's name, case-insensitive.
std::optional<uint8_t> ParseNamed(std::span<const card::NamedValue> table, std::string_view text);
// "A, B, C" for messages.
std::string NamesOf(std::span<const card::NamedValue> table);

}  // namespace talvctl
