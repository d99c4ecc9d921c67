#pragma once
// The one byte that tells the FT1 unit what to report, kept for the run and
// sent whole whenever a window sets or clears one of its bits.

#include <cstdint>

#include "card/ft1.h"
#include "driver_if/execute.h"

class Ft1MonitorFlags {
 public:
  uint8_t value() const { return value_; }
  // Changes the program's copy first; it is not restored when the command
  // fails. Returns SET_FT1_MONITOR_FLAGS's return code.
  uint8_t change(CommandExecutor& exec, uint8_t set, uint8_t clear);

 private:
  uint8_t value_ = 0;
};
