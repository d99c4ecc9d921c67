#pragma once
// How a received frame is shown: one summary line in the list and a
// hexadecimal dump of the last frame.

#include <cstdint>
#include <span>
#include <string>

inline constexpr size_t kMaxDumpBytes = 4000;
inline constexpr size_t kSummaryBytes = 15;

// "0x%02X %5u   %5u     " with bits, length - 2 (0 below 2) and the time
// stamp, then "%02X " for up to 15 data bytes.
std::string SummaryLine(uint8_t bits, uint16_t length, uint16_t time_stamp,
                        std::span<const uint8_t> first_bytes);

// Rows of 16 bytes with their offset, "- " between the two groups of eight,
// each row ended by CR LF; a frame of no bytes gives just CR LF.
std::string FrameDump(std::span<const uint8_t> bytes);
