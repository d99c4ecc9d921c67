#include "card/device_list.h"

#include "card/device.h"
#include "driver_if/device_names.h"
#include "driver_if/requests.h"

namespace card {

std::vector<PresentDevice> ListDevices(CardDriver& driver) {
  std::vector<PresentDevice> present;
  for (int index = 0; index < kMaxCards; ++index) {
    uint32_t error = 0;
    std::unique_ptr<Device> device = Device::Open(driver, CardDeviceName(index), &error);
    if (device == nullptr) continue;
    PresentDevice entry{index, device->name()};
    if (!ReadHardwareInfo(device->handle(), entry.hardware)) continue;
    entry.unit = ProbeServiceUnit(device->exec());
    present.push_back(std::move(entry));
  }
  return present;
}

std::string_view CardTypeName(uint16_t card_type) {
  switch (card_type) {
    case HardwareInfo::kIsaCard: return "ISA";
    case HardwareInfo::kPciCard: return "PCI";
    default: return "unknown";
  }
}

}  // namespace card
