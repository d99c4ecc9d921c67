#pragma once
// The Configure Device flow: the configuration dialog, then the T1/E1 line
// parameters and the CHDLC parameters sent to the card on a handle of its
// own, then the service-unit detection.

#include "monitor/core/monitor_core.h"
#include "monitor/traffic/configuration_records.h"
#include "monitor/traffic/service_unit.h"

class ApplyConfiguration {
 public:
  ApplyConfiguration(MonitorCore& core, ConfigurationRecords& records, ServiceUnit& unit)
      : core_(core), records_(records), unit_(unit) {}

  void Run();

 private:
  // Returns true when the card's front end took the line parameters.
  bool configureLine();
  void setChdlcConfiguration();

  MonitorCore& core_;
  ConfigurationRecords& records_;
  ServiceUnit& unit_;
};
