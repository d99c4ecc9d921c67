#include "tools/talvctl/unit_alarms.h"

#include "card/front_end.h"
#include "driver_if/mailbox.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/record_names.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

UnitAlarms ReadUnitAlarms(CommandExecutor& exec) {
  UnitAlarms a;
  a.unit = card::ProbeServiceUnit(exec);
  if (a.unit.te1()) {
    const card::Reply<card::Te1Alarms> r = card::ReadTe1Alarms(exec);
    a.te1 = r.value;
    a.rc = r.rc;
    a.failed_code = READ_FRONT_END_ALARMS;
  } else if (a.unit.front_end_type == kFrontEnd56K) {
    const card::Reply<card::Status56K> r = card::Read56KStatus(exec);
    a.status56k = r.value;
    a.rc = r.rc;
    a.failed_code = READ_FRONT_END_ALARMS;
  } else if (a.unit.ft1_present) {
    const card::Reply<card::Ft1Status> r = card::ReadFt1Status(exec);
    a.ft1 = r.value;
    a.rc = r.rc;
    a.failed_code = READ_FT1_STATUS;
  }
  return a;
}

nlohmann::json ToJson(const UnitAlarms& a) {
  nlohmann::json unit = ToJson(a.unit);
  if (a.unit.te1()) unit["te1"] = ToJson(a.te1, a.unit.front_end_type);
  else if (a.unit.front_end_type == kFrontEnd56K) unit["status_56k"] = ToJson(a.status56k);
  else if (a.unit.ft1_present) unit["ft1_status"] = {{"a", a.ft1.a}, {"b", a.ft1.b}};
  return unit;
}

namespace {

std::string Raised(std::span<const AlarmBit> bits, uint16_t word) {
  std::string text;
  for (const AlarmBit& bit : bits)
    if (word & bit.mask) text.append(text.empty() ? "" : " ").append(bit.key);
  return text.empty() ? "none" : text;
}

}  // namespace

void PrintUnitAlarms(std::ostream& out, const UnitAlarms& a) {
  if (a.unit.te1()) {
    Field(out, "Service unit", card::FrontEndName(a.unit.front_end_type));
    Field(out, "Alarms", Raised(Te1AlarmBits(a.unit.front_end_type), a.te1.alarms));
    const auto& names = Te1CounterNames(a.unit.front_end_type);
    for (size_t i = 0; i < names.size(); ++i) Field(out, LabelOf(names[i]), a.te1.counters[i]);
  } else if (a.unit.front_end_type == kFrontEnd56K) {
    Field(out, "Service unit", "56K");
    Field(out, "Alarms", Raised(k56KStatusBits, a.status56k.status));
    const card::ReceiveLevel level = a.status56k.receiveLevel();
    Field(out, "Insertion loss (dB)", level.insertion_loss_db);
    Field(out, "Line length (km)", level.line_length_km);
  } else if (a.unit.ft1_present) {
    Field(out, "Service unit", "FT1");
    Field(out, "FT1 status A", Hex(a.ft1.a, 2));
    Field(out, "FT1 status B", Hex(a.ft1.b, 2));
  } else {
    Field(out, "Service unit", "none");
  }
}

}  // namespace talvctl
