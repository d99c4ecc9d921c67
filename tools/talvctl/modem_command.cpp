// modem: reads DCD and CTS, or drives DTR and RTS.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/text_output.h"
#include "tools/talvctl/value_parsing.h"

namespace talvctl {

int RunModem(Session& s, const std::string& name, const std::vector<std::string>& settings) {
  // The card takes both signals at once; one not named is driven low.
  bool dtr = false, rts = false;
  for (const std::string& setting : settings) {
    const size_t eq = setting.find('=');
    const std::string key = setting.substr(0, eq);
    const std::optional<bool> on = ParseOnOff(eq == std::string::npos ? std::string() : setting.substr(eq + 1));
    if ((key != "dtr" && key != "rts") || !on.has_value())
      return s.usage("\"" + setting + "\" is not dtr=on|off or rts=on|off");
    (key == "dtr" ? dtr : rts) = on.value();
  }
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  if (!settings.empty()) {
    const uint8_t rc = card::SetModemStatus(device->exec(), dtr, rts);
    if (rc != RC_OK) return s.refused(SET_MODEM_STATUS, rc);
  }
  const card::Reply<card::ModemStatus> modem = card::ReadModemStatus(device->exec());
  if (!modem.ok()) return s.refused(READ_MODEM_STATUS, modem.rc);
  if (s.json) {
    nlohmann::json doc = {{"device", device->name()}, {"modem", ToJson(modem.value)}};
    if (!settings.empty()) doc["set"] = {{"dtr", dtr}, {"rts", rts}};
    s.out << doc.dump(2) << '\n';
    return kExitOk;
  }
  if (!settings.empty()) {
    Field(s.out, "DTR set", dtr ? "high" : "low");
    Field(s.out, "RTS set", rts ? "high" : "low");
  }
  Field(s.out, "DCD", modem.value.dcd() ? "high" : "low");
  Field(s.out, "CTS", modem.value.cts() ? "high" : "low");
  return kExitOk;
}

}  // namespace talvctl
