#include "cardsim/fcs.h"

#include <array>

namespace cardsim {

namespace {

constexpr std::array<uint16_t, 256> BuildTable() {
  std::array<uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t v = static_cast<uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit) v = (v & 1) ? static_cast<uint16_t>((v >> 1) ^ 0x8408) : v >> 1;
    table[i] = v;
  }
  return table;
}

constexpr auto kTable = BuildTable();

}  // namespace

uint16_t Fcs16(std::span<const uint8_t> data) {
  uint16_t fcs = 0xFFFF;
  for (uint8_t byte : data) fcs = static_cast<uint16_t>((fcs >> 8) ^ kTable[(fcs ^ byte) & 0xFF]);
  return static_cast<uint16_t>(~fcs);
}

void AppendFcs16(std::span<uint8_t> frame) {
  if (frame.size() < 2) return;
  uint16_t fcs = Fcs16(frame.first(frame.size() - 2));
  frame[frame.size() - 2] = static_cast<uint8_t>(fcs);
  frame[frame.size() - 1] = static_cast<uint8_t>(fcs >> 8);
}

}  // namespace cardsim
