#pragma once
// The records the CHDLC firmware answers with, decoded from the data area of
// the CommandBlock. Each layout is written here once; the simulator encodes
// its replies with the same records.

#include <cstdint>
#include <span>
#include <string>

namespace card {

// READ_CHDLC_LINK_STATUS
struct LinkStatus {
  static constexpr uint8_t kInactive = 0;
  static constexpr uint8_t kActive = 1;

  uint8_t channel_status = kInactive;  // other values are possible and mean neither
  uint8_t frames_queued = 0;
  uint8_t receiver_status = 0;          // non-zero: the receiver is disabled

  bool active() const { return channel_status == kActive; }
  bool receiverEnabled() const { return receiver_status == 0; }

  static LinkStatus Decode(std::span<const uint8_t> data);
  void Encode(std::span<uint8_t> data) const;
  bool operator==(const LinkStatus&) const = default;
};

// READ_CHDLC_OPERATIONAL_STATS: full unsigned 32-bit counters.
struct OperationalStatistics {
  static constexpr size_t kSize = 56;

  uint32_t frames_transmitted = 0;
  uint32_t bytes_transmitted = 0;
  uint32_t transmit_throughput = 0;
  uint32_t transmit_throughput_ms = 0;
  uint32_t tx_discarded_length = 0;
  uint32_t frames_received = 0;
  uint32_t bytes_received = 0;
  uint32_t receive_throughput = 0;
  uint32_t receive_throughput_ms = 0;
  uint32_t rx_discarded_length = 0;
  // Received frames the card dropped because its receive queue was full.
  uint32_t rx_discarded_no_buffer = 0;

  static OperationalStatistics Decode(std::span<const uint8_t> data);
  void Encode(std::span<uint8_t> data) const;
  bool operator==(const OperationalStatistics&) const = default;
};

// READ_COMMS_ERROR_STATS: 16-bit counters.
struct CommErrorStatistics {
  static constexpr size_t kSize = 20;

  uint16_t receiver_overrun = 0;
  uint16_t receiver_crc = 0;
  uint16_t abort_frames = 0;
  uint16_t receiver_disabled_buffers_full = 0;
  uint16_t missed_tx_underrun_interrupts = 0;
  uint16_t dcd_dropped = 0;
  uint16_t cts_dropped = 0;

  static CommErrorStatistics Decode(std::span<const uint8_t> data);
  void Encode(std::span<uint8_t> data) const;
  bool operator==(const CommErrorStatistics&) const = default;
};

// READ_GLOBAL_STATISTICS
struct GlobalStatistics {
  static constexpr size_t kSize = 2;

  uint16_t irq_timeouts = 0;

  static GlobalStatistics Decode(std::span<const uint8_t> data);
  void Encode(std::span<uint8_t> data) const;
};

// READ_MODEM_STATUS: one byte of signal bits; SET_MODEM_STATUS takes DTR and RTS.
struct ModemStatus {
  static constexpr uint8_t kDcd = 0x08;
  static constexpr uint8_t kCts = 0x20;
  static constexpr uint8_t kSetDtr = 0x01;
  static constexpr uint8_t kSetRts = 0x02;

  uint8_t bits = 0;

  bool dcd() const { return (bits & kDcd) != 0; }
  bool cts() const { return (bits & kCts) != 0; }

  static ModemStatus Decode(std::span<const uint8_t> data);
  bool operator==(const ModemStatus&) const = default;
};

// READ_CODE_VERSION: text up to its terminator, at most 31 characters.
inline constexpr size_t kMaxCodeVersion = 31;
std::string DecodeCodeVersion(std::span<const uint8_t> reply);

}  // namespace card
