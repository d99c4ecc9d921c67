// list and info: which cards are there and what hardware they are.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "card/device_list.h"
#include "card/service_unit.h"
#include "configurator/hardware_report.h"
#include "driver_if/device_names.h"
#include "driver_if/requests.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

int RunList(Session& s) {
  const std::vector<card::PresentDevice> devices = card::ListDevices(s.driver);
  if (s.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const card::PresentDevice& d : devices)
      list.push_back({{"device", d.name}, {"index", d.index}, {"hardware", ToJson(d.hardware)},
                      {"service_unit", ToJson(d.unit)}});
    s.out << nlohmann::json{{"devices", list}}.dump(2) << '\n';
    return kExitOk;
  }
  for (const card::PresentDevice& d : devices)
    s.out << d.name << '\t' << card::CardTypeName(d.hardware.card_type) << '\t' << card::ServiceUnitName(d.unit) << '\n';
  return kExitOk;
}

int RunInfo(Session& s, const std::string& name) {
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  HardwareInfo info;
  if (!ReadHardwareInfo(device->handle(), info)) return s.refused("the driver failed IOCTL_READ_HARDWARE_INFO");
  const card::Reply<std::string> version = card::ReadCodeVersion(device->exec());
  if (!version.ok()) return s.refused(READ_CODE_VERSION, version.rc);
  const card::ServiceUnit unit = card::ProbeServiceUnit(device->exec());
  if (s.json) {
    s.out << nlohmann::json{{"device", device->name()},
                            {"hardware", ToJson(info)},
                            {"code_version", version.value},
                            {"service_unit", ToJson(unit)}}
                 .dump(2)
          << '\n';
    return kExitOk;
  }
  // The configurator's report line, so both programs describe a card alike.
  s.out << configurator::FormatHardwareLine(*CardIndexOf(name), info) << '\n';
  Field(s.out, "Card type", card::CardTypeName(info.card_type));
  Field(s.out, "Code version", version.value);
  Field(s.out, "Service unit", card::ServiceUnitName(unit));
  return kExitOk;
}

}  // namespace talvctl
