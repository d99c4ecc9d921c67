#pragma once
// The text form of a read command: "label:" padded to one column, then the value.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace talvctl {

void Field(std::ostream& out, std::string_view label, std::string_view value);
void Field(std::ostream& out, std::string_view label, uint64_t value);
void Flag(std::ostream& out, std::string_view label, bool on);  // "yes" or "no"
// A JSON key as a label: "framing_bit_errors" reads "Framing bit errors".
std::string LabelOf(std::string_view key);
// "0x%0*X"
std::string Hex(uint32_t value, int digits);

}  // namespace talvctl
