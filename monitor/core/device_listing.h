#pragma once
// The card devices present, as the Select Device dialog lists them: found
// the way the configurator finds them (each name opened and asked for its
// hardware information), with what kind of card it is and which service
// unit it carries. The only place that enumerates devices for the monitor.

#include <string>
#include <vector>

#include "driver_if/card_driver.h"

struct PresentDevice {
  std::string name;          // "TALVSTRM0"
  std::string card;          // "ISA" or "PCI"
  std::string service_unit;  // "T1 front end", "FT1 service unit", "none", ...
};

// In device order. Only reads: the card's state and configuration are left
// as they were.
std::vector<PresentDevice> ListPresentDevices(CardDriver& driver);
