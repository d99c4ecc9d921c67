#pragma once
// Which integrated service unit the card carries, found after every
// successful configuration and kept for the run (not per device), and the
// rule that makes the utilities menu follow it.

#include <cstdint>

#include "card/service_unit.h"
#include "driver_if/execute.h"
#include "ui/host.h"

class ServiceUnit {
 public:
  uint8_t frontEndType() const { return unit_.front_end_type; }
  bool ft1Present() const { return unit_.ft1_present; }

  void Detect(CommandExecutor& exec) { unit_.Detect(exec); }

  // Greys all eight utility items, then gives the items that suit the unit
  // the requested state.
  void SetUtilitiesMenu(ui::Host& host, bool enabled) const;

 private:
  card::ServiceUnit unit_;
};
