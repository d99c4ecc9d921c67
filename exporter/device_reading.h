#pragma once
// Everything one scrape reads from one card, with read-only commands only:
// nothing is flushed, enabled or taken from the receive queue, and the FT1
// monitor flags are left as another program set them.

#include <optional>
#include <string>

#include "card/chdlc_records.h"
#include "card/front_end_loopbacks.h"
#include "card/front_end_records.h"
#include "card/ft1.h"
#include "card/ft1_statistics_line.h"
#include "card/service_unit.h"
#include "driver_if/card_driver.h"
#include "driver_if/execute.h"
#include "driver_if/records.h"

namespace exporter {

struct DeviceReading {
  HardwareInfo hardware;
  std::string code_version;
  card::ServiceUnit unit;
  card::LinkStatus link;
  std::optional<card::OperationalStatistics> operational;
  std::optional<card::CommErrorStatistics> comm_errors;
  std::optional<card::GlobalStatistics> global;
  std::optional<card::ModemStatus> modem;
  std::optional<card::Te1Alarms> te1;
  std::optional<card::ActiveLoopbacks> loopbacks;
  std::optional<card::Status56K> status_56k;
  std::optional<card::Ft1Status> ft1_status;
  // Only while another program has the unit's statistics reporting on, and
  // only when a report line was due.
  std::optional<card::Ft1StatisticsLine> ft1_statistics;
  bool ft1_statistics_on = false;
};

// False when the card does not answer: the hardware information request or
// the link status read failed. A later read that fails only leaves its part out.
bool ReadDevice(DeviceHandle* handle, CommandExecutor& exec, DeviceReading* reading);

}  // namespace exporter
