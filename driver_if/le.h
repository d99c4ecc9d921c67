#pragma once
// Little-endian packing of the records exchanged with the card driver.
// Every record is a byte image; these helpers read and write its fields.

#include <cstddef>
#include <cstdint>
#include <span>

namespace le {

inline uint8_t get_u8(std::span<const uint8_t> b, size_t off) { return b[off]; }

inline uint16_t get_u16(std::span<const uint8_t> b, size_t off) {
  return static_cast<uint16_t>(b[off] | (b[off + 1] << 8));
}

inline uint32_t get_u32(std::span<const uint8_t> b, size_t off) {
  return static_cast<uint32_t>(b[off]) | (static_cast<uint32_t>(b[off + 1]) << 8) |
         (static_cast<uint32_t>(b[off + 2]) << 16) | (static_cast<uint32_t>(b[off + 3]) << 24);
}

inline void put_u8(std::span<uint8_t> b, size_t off, uint8_t v) { b[off] = v; }

inline void put_u16(std::span<uint8_t> b, size_t off, uint16_t v) {
  b[off] = static_cast<uint8_t>(v);
  b[off + 1] = static_cast<uint8_t>(v >> 8);
}

inline void put_u32(std::span<uint8_t> b, size_t off, uint32_t v) {
  b[off] = static_cast<uint8_t>(v);
  b[off + 1] = static_cast<uint8_t>(v >> 8);
  b[off + 2] = static_cast<uint8_t>(v >> 16);
  b[off + 3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace le
