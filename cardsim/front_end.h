#pragma once
// The line side of a card with an integrated T1, E1 or 56K front end: what
// its alarm, counter, register and loop-back commands work on.

#include <array>
#include <cstddef>
#include <cstdint>

#include "card/front_end_records.h"

namespace cardsim {

struct CardState;

// T1/E1 alarm bits as READ_FRONT_END_ALARMS reports them.
inline constexpr uint16_t kAlarmOof = card::Te1Alarms::kOof;
inline constexpr uint16_t kAlarmRed = card::Te1Alarms::kRed;
inline constexpr uint16_t kAlarmAis = card::Te1Alarms::kAis;
inline constexpr uint16_t kAlarmYel = card::Te1Alarms::kYel;

// The four T1/E1 error counters, in reply order.
enum FrontEndCounter : std::size_t {
  kFramingBitErrors = 0,
  kOofErrors = 1,   // far end block errors on E1
  kBitErrors = 2,   // CRC errors on E1
  kLcvErrors = 3,
};

// A 56K unit on a healthy line: receive level 12 (19.7 dB, 3.2 km), no alarm.
inline constexpr uint16_t k56KHealthyStatus = 0x0C00;

struct FrontEndState {
  uint16_t alarms = 0;
  std::array<uint32_t, 4> counters{};
  bool line_loopback = false;
  bool payload_loopback = false;
  bool digital_loopback = false;
  bool loopback_signal = false;
  uint16_t status_56k = k56KHealthyStatus;
};

// While the line runs, every alarm read finds the counters moved on: a
// trickle of line code violations, and framing and bit errors while an
// alarm is raised. They wrap like the card's 32-bit registers.
void AdvanceCounters(FrontEndState& front_end);

// The frame path sends transmitted frames back to the receive queue while
// this holds: the front end returns the line's traffic at the line side.
bool LineLoopsBack(const CardState& state);

}  // namespace cardsim
