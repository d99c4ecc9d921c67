#pragma once
// The configurator's report: one line per card that opens and answers the
// hardware information request, in device order.

#include <optional>
#include <string>
#include <vector>

#include "driver_if/card_driver.h"
#include "driver_if/records.h"

namespace configurator {

// The ISA or PCI resources of the card at index; one blank for a card type
// the program does not know.
std::string FormatHardwareLine(int index, const HardwareInfo& info);

// Opens the device, asks for its hardware information and closes it again.
// Nothing when the device does not open or does not answer.
std::optional<std::string> ReportDevice(CardDriver& driver, int index);

// TALVSTRM0 to TALVSTRM15, in this order.
std::vector<std::string> HardwareReport(CardDriver& driver);

}  // namespace configurator
