#pragma once
// The card's records as JSON objects: numbers as numbers, counters in full,
// names where the card's value has one. docs/talvctl.md is the schema.

#include <nlohmann/json.hpp>

#include "card/chdlc_records.h"
#include "card/front_end_records.h"
#include "card/service_unit.h"
#include "driver_if/records.h"

namespace talvctl {

nlohmann::json ToJson(const HardwareInfo& info);
nlohmann::json ToJson(const card::ServiceUnit& unit);
nlohmann::json ToJson(const card::LinkStatus& link);
nlohmann::json ToJson(const card::ModemStatus& modem);
nlohmann::json ToJson(const card::OperationalStatistics& stats);
nlohmann::json ToJson(const card::CommErrorStatistics& stats);
nlohmann::json ToJson(const StreamingConfig& config);
nlohmann::json ToJson(const TECardConfig& te);
nlohmann::json ToJson(const Ft1Configuration& config);
// Alarm names depend on the medium: E1 has no yellow alarm, and its counters
// are named differently.
nlohmann::json ToJson(const card::Te1Alarms& alarms, uint8_t front_end_type);
nlohmann::json ToJson(const card::Status56K& status);

}  // namespace talvctl
