#pragma once
// The simulator linked straight into the caller: a CardDriver whose
// handles talk to the cards of a Simulator.

#include "cardsim/simulator.h"
#include "driver_if/card_driver.h"

namespace cardsim {

class SimDriver : public CardDriver {
 public:
  explicit SimDriver(Simulator& simulator) : simulator_(simulator) {}
  // A name that is not a present card fails with kErrorDeviceNotFound.
  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override;

 private:
  Simulator& simulator_;
};

}  // namespace cardsim
