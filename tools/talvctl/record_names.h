#pragma once
// The names talvctl gives the bits of the card's option words and alarm
// words, in JSON keys, text output and configure keys alike.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "card/front_end_records.h"
#include "driver_if/mailbox.h"

namespace talvctl {

struct OptionBit {
  std::string_view key;  // JSON key and configure key
  uint16_t mask;
};

inline constexpr OptionBit kModemOptionBits[] = {{"manual_dtr_rts", 0x01}, {"ignore_modem_changes", 0x02}};
inline constexpr OptionBit kStatisticsOptionBits[] = {
    {"count_tx", 0x01}, {"count_rx", 0x02}, {"tx_throughput", 0x04}, {"rx_throughput", 0x08}};

struct AlarmBit {
  std::string_view key;
  uint16_t mask;
};

inline constexpr AlarmBit kT1AlarmBits[] = {{"oof", card::Te1Alarms::kOof},
                                            {"red", card::Te1Alarms::kRed},
                                            {"ais", card::Te1Alarms::kAis},
                                            {"yellow", card::Te1Alarms::kYel}};
inline constexpr AlarmBit kE1AlarmBits[] = {
    {"oof", card::Te1Alarms::kOof}, {"red", card::Te1Alarms::kRed}, {"ais", card::Te1Alarms::kAis}};
inline constexpr AlarmBit k56KStatusBits[] = {
    {"rlos", card::Status56K::kRlos}, {"dmi", card::Status56K::kDmi}, {"zsc", card::Status56K::kZsc},
    {"cmi", card::Status56K::kCmi},   {"oos", card::Status56K::kOos}, {"oof", card::Status56K::kOof},
    {"dlp", card::Status56K::kDlp},   {"umc", card::Status56K::kUmc}};

inline constexpr std::array<std::string_view, 4> kT1CounterNames = {
    "framing_bit_errors", "out_of_frame", "bipolar_violations", "line_code_violations"};
inline constexpr std::array<std::string_view, 4> kE1CounterNames = {
    "framing_bit_errors", "far_end_block_errors", "crc_errors", "line_code_violations"};

inline std::span<const AlarmBit> Te1AlarmBits(uint8_t front_end_type) {
  if (front_end_type == kFrontEndE1) return kE1AlarmBits;
  return kT1AlarmBits;
}
inline const std::array<std::string_view, 4>& Te1CounterNames(uint8_t front_end_type) {
  return front_end_type == kFrontEndE1 ? kE1CounterNames : kT1CounterNames;
}

}  // namespace talvctl
