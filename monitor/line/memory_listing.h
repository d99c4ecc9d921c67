#pragma once
// Adapter memory as listing lines, 16 addresses a line: "%05X:\t" and one
// "%02X " entry per address.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The first line starts at offset rounded down to 16, with "00 " for the
// addresses before offset; the last line ends after the last byte.
std::vector<std::string> MemoryListing(uint32_t offset, std::span<const uint8_t> bytes);
