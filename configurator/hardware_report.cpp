#include "configurator/hardware_report.h"

#include <cstdio>

#include "driver_if/device_names.h"
#include "driver_if/requests.h"

namespace configurator {

std::string FormatHardwareLine(int index, const HardwareInfo& info) {
  char line[160];
  switch (info.card_type) {
    case HardwareInfo::kIsaCard:
      std::snprintf(line, sizeof line, "TALVSTRM%d\tIO_Port: 0x%X   Memory: 0x%X   IRQ: 0x%X", index,
                    info.io_port, info.memory_base, info.irq);
      return line;
    case HardwareInfo::kPciCard:
      // Bus and slot are shown signed, as the driver's own tools do.
      std::snprintf(line, sizeof line,
                    "TALVSTRM%d\tBusNumber: %d   SlotNumber: %d   CPU: %c   CommPort: %s", index,
                    static_cast<int32_t>(info.bus_number), static_cast<int32_t>(info.slot_number),
                    info.cpu == 0 ? 'A' : 'B', info.comm_port == 0 ? "PRIMARY" : "SECONDARY");
      return line;
    default: return " ";
  }
}

std::optional<std::string> ReportDevice(CardDriver& driver, int index) {
  uint32_t error = 0;
  std::unique_ptr<DeviceHandle> device = driver.open(CardDeviceName(index), &error);
  if (!device) return std::nullopt;
  HardwareInfo info;
  if (!ReadHardwareInfo(device.get(), info)) return std::nullopt;
  return FormatHardwareLine(index, info);
}

std::vector<std::string> HardwareReport(CardDriver& driver) {
  std::vector<std::string> lines;
  for (int index = 0; index < kMaxCards; ++index)
    if (std::optional<std::string> line = ReportDevice(driver, index)) lines.push_back(*line);
  return lines;
}

}  // namespace configurator
