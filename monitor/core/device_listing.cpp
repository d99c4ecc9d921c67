#include "monitor/core/device_listing.h"

#include "card/device_list.h"

namespace {

std::string ServiceUnitText(const card::ServiceUnit& unit) {
  switch (unit.front_end_type) {
    case kFrontEndT1: return "T1 front end";
    case kFrontEndE1: return "E1 front end";
    case kFrontEnd56K: return "56K unit";
    default: return unit.ft1_present ? "FT1 service unit" : "none";
  }
}

}  // namespace

std::vector<PresentDevice> ListPresentDevices(CardDriver& driver) {
  std::vector<PresentDevice> devices;
  for (const card::PresentDevice& d : card::ListDevices(driver))
    devices.push_back({d.name, std::string(card::CardTypeName(d.hardware.card_type)), ServiceUnitText(d.unit)});
  return devices;
}
