#pragma once
// The 2048-byte mailbox record every firmware command travels in.
//   offset 0  reserved, 1 command, 2..3 buffer_length, 4 return_code,
//   5..15 reserved, 16.. data (2032 bytes)

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"

using CommandBlockImage = std::array<uint8_t, kCommandBlockSize>;

class CommandBlock {
 public:
  uint8_t command() const { return bytes_[1]; }
  void setCommand(uint8_t code) { bytes_[1] = code; }

  uint16_t bufferLength() const { return le::get_u16(bytes_, 2); }
  void setBufferLength(uint16_t n) { le::put_u16(bytes_, 2, n); }

  uint8_t returnCode() const { return bytes_[4]; }
  void setReturnCode(uint8_t rc) { bytes_[4] = rc; }

  // The reply length as the card put it, bounded to what the request could
  // carry back; bytes past that are leftovers of earlier replies.
  size_t replyLength(size_t request_capacity) const {
    return std::min<size_t>(bufferLength(), request_capacity);
  }

  std::span<uint8_t> data() { return std::span(bytes_).subspan(kCommandHeaderSize); }
  std::span<const uint8_t> data() const { return std::span(bytes_).subspan(kCommandHeaderSize); }

  // Sets command, buffer_length and the data bytes in one go.
  void prepare(uint8_t code, std::span<const uint8_t> payload = {}) {
    setCommand(code);
    setBufferLength(static_cast<uint16_t>(payload.size()));
    std::copy(payload.begin(), payload.end(), data().begin());
  }

  void clear() { bytes_.fill(0); }
  void copyTo(CommandBlockImage& snapshot) const { snapshot = bytes_; }
  bool equals(const CommandBlockImage& snapshot) const { return bytes_ == snapshot; }

  CommandBlockImage& bytes() { return bytes_; }
  const CommandBlockImage& bytes() const { return bytes_; }

 private:
  CommandBlockImage bytes_{};
};
