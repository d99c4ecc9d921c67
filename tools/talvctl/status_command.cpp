// status: link, communications, modem signals and the service unit's alarms.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/text_output.h"
#include "tools/talvctl/unit_alarms.h"

namespace talvctl {

int RunStatus(Session& s, const std::string& name) {
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  const card::Reply<card::LinkStatus> link = card::ReadLinkStatus(device->exec());
  if (!link.ok()) return s.refused(READ_CHDLC_LINK_STATUS, link.rc);
  const card::Reply<card::ModemStatus> modem = card::ReadModemStatus(device->exec());
  if (!modem.ok()) return s.refused(READ_MODEM_STATUS, modem.rc);
  const UnitAlarms alarms = ReadUnitAlarms(device->exec());
  if (alarms.rc != RC_OK) return s.refused(alarms.failed_code, alarms.rc);

  if (s.json) {
    s.out << nlohmann::json{{"device", device->name()},
                            {"communications", link.value.active()},
                            {"link", ToJson(link.value)},
                            {"modem", ToJson(modem.value)},
                            {"service_unit", ToJson(alarms)}}
                 .dump(2)
          << '\n';
    return kExitOk;
  }
  Field(s.out, "Device", device->name());
  Field(s.out, "Communications", link.value.active() ? "enabled" : "disabled");
  Field(s.out, "Frames queued", link.value.frames_queued);
  Field(s.out, "Receiver", link.value.receiverEnabled() ? "enabled" : "disabled");
  Field(s.out, "DCD", modem.value.dcd() ? "high" : "low");
  Field(s.out, "CTS", modem.value.cts() ? "high" : "low");
  PrintUnitAlarms(s.out, alarms);
  return kExitOk;
}

}  // namespace talvctl
