#pragma once
// The devices present: every TALVSTRMn that opens and answers the hardware
// information request, with what the card says about its service unit.

#include <string>
#include <vector>

#include "card/service_unit.h"
#include "driver_if/card_driver.h"
#include "driver_if/records.h"

namespace card {

struct PresentDevice {
  int index = 0;
  std::string name;
  HardwareInfo hardware;
  ServiceUnit unit;  // found without changing anything on the card
};

// In device order. Reads only.
std::vector<PresentDevice> ListDevices(CardDriver& driver);

// "ISA", "PCI", or "unknown".
std::string_view CardTypeName(uint16_t card_type);

}  // namespace card
