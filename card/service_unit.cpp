#include "card/service_unit.h"

#include "card/front_end.h"
#include "card/ft1.h"

namespace card {

namespace {

uint8_t KnownType(uint8_t reported) { return reported <= kFrontEnd56K ? reported : kFrontEndNone; }

}  // namespace

std::string_view ServiceUnitName(const ServiceUnit& unit) {
  if (unit.front_end_type != kFrontEndNone) return FrontEndName(unit.front_end_type);
  return unit.ft1_present ? "FT1" : "none";
}

void ServiceUnit::Detect(CommandExecutor& exec) {
  const Reply<uint8_t> type = ReadFrontEndType(exec);
  if (type.ok()) {
    front_end_type = KnownType(type.value);
    if (front_end_type != kFrontEndNone) return;
  } else if (front_end_type != kFrontEndNone) {
    return;
  }
  ft1_present = SendFt1MonitorFlags(exec, FT1_STATUS_MONITOR) == RC_OK;
  if (ft1_present) SendFt1MonitorFlags(exec, 0);
}

ServiceUnit ProbeServiceUnit(CommandExecutor& exec) {
  ServiceUnit unit;
  const Reply<uint8_t> type = ReadFrontEndType(exec);
  if (type.ok()) unit.front_end_type = KnownType(type.value);
  if (unit.front_end_type == kFrontEndNone) unit.ft1_present = ReadFt1Status(exec).ok();
  return unit;
}

}  // namespace card
