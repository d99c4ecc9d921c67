#pragma once
// Which integrated service unit a card carries: a T1, E1 or 56K front end,
// or on a plain serial card possibly an FT1 unit.

#include <cstdint>
#include <string_view>

#include "driver_if/execute.h"
#include "driver_if/mailbox.h"

namespace card {

struct ServiceUnit {
  uint8_t front_end_type = kFrontEndNone;
  bool ft1_present = false;

  bool te1() const { return front_end_type == kFrontEndT1 || front_end_type == kFrontEndE1; }

  // READ_FRONT_END_TYPE, then for a plain serial line the FT1 probe, which
  // sets the unit's monitor flags and clears them again. A failed type read
  // keeps the type found before.
  void Detect(CommandExecutor& exec);
};

// The same answer without changing anything on the card: the FT1 unit is
// found by reading its status. For programs that only watch.
ServiceUnit ProbeServiceUnit(CommandExecutor& exec);

// "T1", "E1", "56K", "FT1" or "none".
std::string_view ServiceUnitName(const ServiceUnit& unit);

}  // namespace card
