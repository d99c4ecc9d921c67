#pragma once
// The alarms of whatever service unit a card carries, read for status and watch.

#include <nlohmann/json.hpp>
#include <ostream>

#include "card/front_end_records.h"
#include "card/ft1.h"
#include "card/service_unit.h"
#include "driver_if/execute.h"

namespace talvctl {

struct UnitAlarms {
  card::ServiceUnit unit;
  card::Te1Alarms te1;       // T1 and E1
  card::Status56K status56k;  // 56K
  card::Ft1Status ft1;       // an FT1 unit on a serial line
  uint8_t failed_code = 0;   // the command refused, when rc is not RC_OK
  uint8_t rc = 0;
};

UnitAlarms ReadUnitAlarms(CommandExecutor& exec);
nlohmann::json ToJson(const UnitAlarms& alarms);
void PrintUnitAlarms(std::ostream& out, const UnitAlarms& alarms);

}  // namespace talvctl
