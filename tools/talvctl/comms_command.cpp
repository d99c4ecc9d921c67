// comms on|off: starts or stops the line.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/communications.h"

namespace talvctl {

int RunComms(Session& s, const std::string& name, const std::string& state) {
  const bool on = state == "on";
  if (!on && state != "off") return s.usage("\"" + state + "\" is not on or off");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  if (on) {
    const uint8_t rc = card::EnableCommunications(device->exec());
    if (rc != RC_OK) return s.refused(ENABLE_CHDLC_COMMUNICATIONS, rc);
  } else {
    const uint8_t rc = DisableCommunicationsPersistently(device->exec());
    if (rc != RC_OK) return s.refused(DISABLE_CHDLC_COMMUNICATIONS, rc);
  }
  if (s.json) s.out << nlohmann::json{{"device", device->name()}, {"communications", on}}.dump(2) << '\n';
  else s.out << device->name() << ": communications " << (on ? "enabled" : "disabled") << '\n';
  return kExitOk;
}

}  // namespace talvctl
