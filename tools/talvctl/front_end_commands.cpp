// loopback, alarms and register: the integrated T1, E1 and 56K front ends.

#include <nlohmann/json.hpp>

#include "card/front_end.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/text_output.h"
#include "tools/talvctl/unit_alarms.h"
#include "tools/talvctl/value_parsing.h"

namespace talvctl {

int RunLoopback(Session& s, const std::string& name, const std::string& mode_name, const std::string& state) {
  std::optional<card::Loopback> mode;
  for (card::Loopback m : card::kLoopbacks)
    if (card::LoopbackName(m) == mode_name) mode = m;
  if (!mode) return s.usage("\"" + mode_name + "\" is not line, payload, digital or remote");
  const std::optional<bool> on = ParseOnOff(state);
  if (!on) return s.usage("\"" + state + "\" is not on or off");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  if (!card::ProbeServiceUnit(device->exec()).te1())
    return s.refused(device->name() + " has no T1 or E1 front end");
  const uint8_t rc = card::SetLoopback(device->exec(), *mode, *on);
  if (rc != RC_OK) return s.refused(card::LoopbackCommand(*mode, *on), rc);
  if (s.json)
    s.out << nlohmann::json{{"device", device->name()}, {"loopback", mode_name}, {"on", *on}}.dump(2) << '\n';
  else
    s.out << device->name() << ": " << mode_name << " loop-back " << (*on ? "on" : "off") << '\n';
  return kExitOk;
}

int RunAlarms(Session& s, const std::string& name, bool clear) {
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  const UnitAlarms alarms = ReadUnitAlarms(device->exec());
  if (alarms.rc != RC_OK) return s.refused(alarms.failed_code, alarms.rc);
  if (alarms.unit.front_end_type == kFrontEndNone && !alarms.unit.ft1_present)
    return s.refused(device->name() + " has no service unit");
  if (clear && !alarms.unit.te1()) return s.usage("--clear applies to T1 and E1 counters only");
  const uint8_t clear_rc = clear ? card::FlushFrontEndCounters(device->exec()) : RC_OK;
  if (s.json) {
    nlohmann::json doc = {{"device", device->name()}, {"service_unit", ToJson(alarms)}};
    doc["cleared"] = clear && clear_rc == RC_OK;
    s.out << doc.dump(2) << '\n';
  } else {
    PrintUnitAlarms(s.out, alarms);
  }
  return clear_rc == RC_OK ? kExitOk : s.refused(FLUSH_FRONT_END_COUNTERS, clear_rc);
}

int RunRegister(Session& s, const std::string& name, const std::string& address) {
  const std::optional<uint32_t> reg = ParseHex(address, 0xFF);
  if (!reg) return s.usage("\"" + address + "\" is not a register number from 0 to FF (hexadecimal)");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  const card::Reply<uint8_t> value = card::ReadFrontEndRegister(device->exec(), static_cast<uint8_t>(*reg));
  if (!value.ok()) return s.refused(READ_FRONT_END_REGISTER, value.rc);
  if (s.json)
    s.out << nlohmann::json{{"device", device->name()}, {"register", *reg}, {"value", value.value}}.dump(2) << '\n';
  else
    s.out << Hex(*reg, 2) << ": " << Hex(value.value, 2) << '\n';
  return kExitOk;
}

}  // namespace talvctl
