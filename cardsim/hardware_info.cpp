// IOCTL_READ_HARDWARE_INFO: the bus resources of the card.

#include "cardsim/card.h"
#include "cardsim/firmware.h"
#include "driver_if/records.h"

namespace cardsim {

namespace {

bool ReadHardwareInfo(ControlCall& call) {
  if (call.out.size() < HardwareInfo::kSize) return false;
  call.card.description().hardware.Write(call.out);
  call.returned = HardwareInfo::kSize;
  return true;
}

}  // namespace

void RegisterHardwareInfo(Firmware& firmware) {
  firmware.addControl(IOCTL_READ_HARDWARE_INFO, ReadHardwareInfo);
}

}  // namespace cardsim
