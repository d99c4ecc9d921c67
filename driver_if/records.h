#pragma once
// Fixed layouts exchanged with the card driver. Small records are value
// structs read from and written to their byte images; the large buffers are
// byte images with field accessors, since they are filled in place.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"

// Reply of IOCTL_READ_HARDWARE_INFO (26 bytes).
struct HardwareInfo {
  static constexpr size_t kSize = kHardwareInfoSize;
  static constexpr uint16_t kIsaCard = 20;
  static constexpr uint16_t kPciCard = 40;

  uint16_t card_type = 0;
  uint32_t bus_number = 0;
  uint32_t slot_number = 0;
  uint16_t cpu = 0;
  uint16_t comm_port = 0;
  uint32_t memory_base = 0;
  uint32_t irq = 0;
  uint32_t io_port = 0;

  static HardwareInfo Read(std::span<const uint8_t> b);
  void Write(std::span<uint8_t> b) const;
};

// Line parameters of an integrated T1/E1 unit, in and out of IOCTL_TE_CONFIG (16 bytes).
struct TECardConfig {
  static constexpr size_t kSize = kTECardConfigSize;
  static constexpr size_t kResultOffset = 12;

  uint8_t media_type = 0;
  uint8_t line_decoding = 2;
  uint8_t framing = 1;
  uint8_t line_build_out = 1;
  uint8_t clocking = 1;
  uint32_t active_channels = 0;
  uint8_t result = 0;

  static TECardConfig Read(std::span<const uint8_t> b);
  void Write(std::span<uint8_t> b) const;
};

inline constexpr uint8_t kMediaSerial = 0;
inline constexpr uint8_t kMediaT1 = 1;
inline constexpr uint8_t kMediaE1 = 2;
inline constexpr uint8_t kMedia56K = 3;

// CHDLC parameters: the data of SET_CHDLC_CONFIGURATION and of the
// configuration read (48 bytes).
struct StreamingConfig {
  static constexpr size_t kSize = 48;
  static constexpr size_t kBaudRateOffset = 0;
  static constexpr size_t kModemOptionsOffset = 6;
  static constexpr size_t kPercentTxBuffersOffset = 14;
  static constexpr size_t kStatisticsOptionsOffset = 16;
  static constexpr size_t kMaxFrameSizeOffset = 18;

  uint32_t baud_rate = 0;
  uint16_t interface = 0;
  uint16_t modem_options = 2;
  uint16_t percent_tx_buffers = 50;
  uint16_t statistics_options = 3;
  uint16_t max_frame_size = 2000;

  static StreamingConfig Read(std::span<const uint8_t> b);
  // Writes the reserved words too: 0, 0 and 0x8000 at offsets 8, 10, 12.
  void Write(std::span<uint8_t> b) const;
};

// Line configuration of an FT1 unit (12 bytes).
struct Ft1Configuration {
  static constexpr size_t kSize = 12;

  uint16_t framing = 0;
  uint16_t encoding = 0;
  uint16_t line_build_out = 0;
  uint16_t channel_base = 0;
  uint16_t baud_rate = 0;
  uint16_t clock_mode = 0;

  static Ft1Configuration Read(std::span<const uint8_t> b);
  void Write(std::span<uint8_t> b) const;
  bool operator==(const Ft1Configuration&) const = default;
};

// In and out of IOCTL_SEND_FRAME: result, reserved, length, data.
class SendFrameBuffer {
 public:
  static constexpr size_t kSize = kSendFrameBufferSize;
  static constexpr size_t kDataOffset = 4;
  static constexpr size_t kMaxData = kSize - kDataOffset;  // 15354

  uint8_t result() const { return bytes_[0]; }
  void setResult(uint8_t r) { bytes_[0] = r; }
  uint16_t length() const { return le::get_u16(bytes_, 2); }
  void setLength(uint16_t n) { le::put_u16(bytes_, 2, n); }
  std::span<uint8_t> data() { return std::span(bytes_).subspan(kDataOffset); }
  std::span<const uint8_t> data() const { return std::span(bytes_).subspan(kDataOffset); }
  std::array<uint8_t, kSize>& bytes() { return bytes_; }

 private:
  std::array<uint8_t, kSize> bytes_{};
};

// Output of IOCTL_RECEIVE_FRAME: valid, length (packed at offset 1), bits,
// time_stamp, reserved, data from offset 16.
class ReceivedFrame {
 public:
  static constexpr size_t kSize = kReceivedFrameSize;
  static constexpr size_t kDataOffset = 16;
  static constexpr size_t kMaxData = kSize - kDataOffset;  // 13984

  uint8_t valid() const { return bytes_[0]; }
  uint16_t length() const { return le::get_u16(bytes_, 1); }
  uint8_t bits() const { return bytes_[3]; }
  uint16_t timeStamp() const { return le::get_u16(bytes_, 4); }
  std::span<const uint8_t> data() const { return std::span(bytes_).subspan(kDataOffset); }

  void setValid(uint8_t v) { bytes_[0] = v; }
  void setLength(uint16_t n) { le::put_u16(bytes_, 1, n); }
  void setBits(uint8_t b) { bytes_[3] = b; }
  void setTimeStamp(uint16_t t) { le::put_u16(bytes_, 4, t); }
  std::span<uint8_t> data() { return std::span(bytes_).subspan(kDataOffset); }
  std::array<uint8_t, kSize>& bytes() { return bytes_; }

 private:
  std::array<uint8_t, kSize> bytes_{};
};

// In and out of IOCTL_READ_MEMORY: status, reserved, offset, length, data.
class MemoryReadRequest {
 public:
  static constexpr size_t kSize = kMemoryReadRequestSize;
  static constexpr size_t kDataOffset = 10;
  static constexpr size_t kMaxData = kSize - kDataOffset;  // 2002

  uint8_t status() const { return bytes_[0]; }
  void setStatus(uint8_t s) { bytes_[0] = s; }
  uint32_t offset() const { return le::get_u32(bytes_, 4); }
  void setOffset(uint32_t o) { le::put_u32(bytes_, 4, o); }
  uint16_t length() const { return le::get_u16(bytes_, 8); }
  void setLength(uint16_t n) { le::put_u16(bytes_, 8, n); }
  std::span<uint8_t> data() { return std::span(bytes_).subspan(kDataOffset); }
  std::span<const uint8_t> data() const { return std::span(bytes_).subspan(kDataOffset); }
  void clear() { bytes_.fill(0); }
  std::array<uint8_t, kSize>& bytes() { return bytes_; }

 private:
  std::array<uint8_t, kSize> bytes_{};
};
