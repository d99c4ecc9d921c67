#pragma once
// The 16-bit frame check sequence of HDLC framing (reflected polynomial
// 0x8408, preset and final complement 0xFFFF). A frame on the line carries
// it after its data, low byte first.

#include <cstdint>
#include <span>

namespace cardsim {

uint16_t Fcs16(std::span<const uint8_t> data);

// Writes the check bytes of data[0 .. n-2) into its last two bytes.
void AppendFcs16(std::span<uint8_t> frame_with_room);

}  // namespace cardsim
