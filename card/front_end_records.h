#pragma once
// The records of the integrated T1/E1 and 56K front ends, decoded from the
// data area of READ_FRONT_END_ALARMS.

#include <array>
#include <cstdint>
#include <span>

namespace card {

// A T1 or E1 front end: the alarm word and four 32-bit event counters. On T1
// the counters are framing bit errors, out-of-frame, bipolar violations and
// line code violations; on E1 the second and third are far-end block and CRC
// errors. E1 has no yellow alarm.
struct Te1Alarms {
  static constexpr size_t kSize = 20;
  static constexpr uint16_t kOof = 0x0008;
  static constexpr uint16_t kRed = 0x0010;
  static constexpr uint16_t kAis = 0x0020;
  static constexpr uint16_t kYel = 0x0400;

  uint16_t alarms = 0;
  std::array<uint32_t, 4> counters{};

  bool raised(uint16_t bit) const { return (alarms & bit) != 0; }

  static Te1Alarms Decode(std::span<const uint8_t> data);
  void Encode(std::span<uint8_t> data) const;
  bool operator==(const Te1Alarms&) const = default;
};

// What a 56K unit's receive level says about the line.
struct ReceiveLevel {
  const char* insertion_loss_db;  // "?" where the level tells nothing
  const char* line_length_km;
};

// A 56K front end's status word.
struct Status56K {
  static constexpr size_t kSize = 2;
  static constexpr uint16_t kRlos = 0x8000;
  static constexpr uint16_t kDmi = 0x0080;
  static constexpr uint16_t kZsc = 0x0040;
  static constexpr uint16_t kCmi = 0x0020;
  static constexpr uint16_t kOos = 0x0010;
  static constexpr uint16_t kOof = 0x0008;
  static constexpr uint16_t kDlp = 0x0004;
  static constexpr uint16_t kUmc = 0x0002;

  uint16_t status = 0;

  bool raised(uint16_t bit) const { return (status & bit) != 0; }
  unsigned receiveLevelIndex() const { return (status & 0x0F00u) >> 8; }
  ReceiveLevel receiveLevel() const;
  // Levels above the eighth mean a good signal.
  bool signalGood() const { return receiveLevelIndex() > 8; }

  static Status56K Decode(std::span<const uint8_t> data);
  void Encode(std::span<uint8_t> data) const;
};

}  // namespace card
