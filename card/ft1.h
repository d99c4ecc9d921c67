#pragma once
// Commands of an integrated FT1 unit: its status bytes and self-test SELECT,
// the monitor flags that say what it reports, its statistics lines, its line
// configuration and its character channel.

#include <cstdint>
#include <string>

#include "card/reply.h"
#include "driver_if/execute.h"
#include "driver_if/records.h"

// The bits of the FT1 unit's monitor flag byte.
inline constexpr uint8_t FT1_STATUS_MONITOR = 0x01;
inline constexpr uint8_t FT1_STATISTICS_MONITOR = 0x02;
inline constexpr uint8_t FT1_STATISTICS_FLUSH = 0x04;

namespace card {

// READ_FT1_STATUS: status bytes A and B.
struct Ft1Status {
  uint8_t a = 0;
  uint8_t b = 0;
};
Reply<Ft1Status> ReadFt1Status(CommandExecutor& exec);
uint8_t Ft1Select(CommandExecutor& exec);

// SET_FT1_MONITOR_FLAGS with the whole flag byte.
uint8_t SendFt1MonitorFlags(CommandExecutor& exec, uint8_t flags);

// READ_FT1_OPERATIONAL_STATS: one line of text as the unit sent it, or
// RC_FT1_STATS_OFF while the statistics flag is off.
Reply<std::string> ReadFt1Statistics(CommandExecutor& exec);

Reply<Ft1Configuration> ReadFt1Configuration(CommandExecutor& exec);
struct Ft1SetResult {
  uint8_t rc = RC_PRESET_TIMEOUT;
  // With RC_FT1_BAD_CONFIGURATION: the offset of the parameter the unit refused.
  uint16_t reply_length = 0;
};
Ft1SetResult SetFt1Configuration(CommandExecutor& exec, const Ft1Configuration& config);

uint8_t SendFt1Character(CommandExecutor& exec, uint8_t ch);
// READ_FT1_CHARACTERS: the characters the unit sent since the last read.
Reply<std::string> ReadFt1Characters(CommandExecutor& exec);

}  // namespace card
