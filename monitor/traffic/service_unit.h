#pragma once
// Which integrated service unit the card carries, found after every
// successful configuration and kept for the run (not per device), and the
// rule that makes the utilities menu follow it.

#include <cstdint>

#include "driver_if/execute.h"
#include "ui/host.h"

class ServiceUnit {
 public:
  uint8_t frontEndType() const { return front_end_type_; }
  bool ft1Present() const { return ft1_present_; }

  // READ_FRONT_END_TYPE, then for a plain serial line the FT1 probe.
  void Detect(CommandExecutor& exec);

  // Greys all eight utility items, then gives the items that suit the unit
  // the requested state.
  void SetUtilitiesMenu(ui::Host& host, bool enabled) const;

 private:
  uint8_t front_end_type_ = 0;
  bool ft1_present_ = false;
};
