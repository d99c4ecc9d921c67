#include "monitor/core/device_listing.h"

#include "driver_if/command_block.h"
#include "driver_if/device_names.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"
#include "driver_if/records.h"
#include "driver_if/requests.h"

namespace {

// A mailbox command on a block of its own, so the shown exchange and the
// process's block are left alone. The preset stays when nothing answers.
uint8_t AskCard(DeviceHandle* handle, CommandBlock& block, uint8_t command) {
  block.clear();
  block.prepare(command);
  block.setReturnCode(RC_PRESET_TIMEOUT);
  auto& b = block.bytes();
  ControlRequest(handle, IOCTL_EXEC_CMD_2K, b.data(), b.size(), b.data(), b.size());
  return block.returnCode();
}

std::string CardKind(const HardwareInfo& info) {
  switch (info.card_type) {
    case HardwareInfo::kIsaCard: return "ISA";
    case HardwareInfo::kPciCard: return "PCI";
    default: return "unknown";
  }
}

// The front end first; on a plain serial card the FT1 unit answers its
// status read, which changes nothing on the unit (the probe the monitor
// runs after configuring would switch its monitoring).
std::string ServiceUnit(DeviceHandle* handle) {
  CommandBlock block;
  if (AskCard(handle, block, READ_FRONT_END_TYPE) == 0) {
    switch (block.data()[0]) {
      case 1: return "T1 front end";
      case 2: return "E1 front end";
      case 3: return "56K unit";
      default: break;
    }
  }
  const uint8_t rc = AskCard(handle, block, READ_FT1_STATUS);
  if (rc == 0) return "FT1 service unit";
  return IsTimeout(rc) ? "not answering" : "none";
}

}  // namespace

std::vector<PresentDevice> ListPresentDevices(CardDriver& driver) {
  std::vector<PresentDevice> devices;
  for (int index = 0; index < kMaxCards; ++index) {
    const std::string name = CardDeviceName(index);
    uint32_t error = 0;
    std::unique_ptr<DeviceHandle> handle = driver.open(name, &error);
    if (!handle) continue;
    HardwareInfo info;
    if (!ReadHardwareInfo(handle.get(), info)) continue;
    devices.push_back({name, CardKind(info), ServiceUnit(handle.get())});
  }
  return devices;
}
