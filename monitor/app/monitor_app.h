#pragma once
// talvmon assembled: the monitor core and every part that plugs into it.

#include "monitor/core/monitor_core.h"
#include "monitor/line/ft1_utilities.h"
#include "monitor/line/front_end_utilities.h"
#include "monitor/traffic/apply_configuration.h"
#include "monitor/traffic/communications.h"
#include "monitor/traffic/configuration_records.h"
#include "monitor/traffic/service_unit.h"

class MonitorApp {
 public:
  explicit MonitorApp(CoreServices services);

  bool Start() { return core_.Start(); }
  int Exit(int exit_code) { return core_.Exit(exit_code); }

  MonitorCore& core() { return core_; }
  ConfigurationRecords& records() { return records_; }
  ServiceUnit& serviceUnit() { return service_unit_; }
  Communications& communications() { return communications_; }
  Ft1Utilities& ft1Utilities() { return ft1_utilities_; }
  FrontEndUtilities& frontEndUtilities() { return front_end_utilities_; }

 private:
  void wireConfiguration();
  void wireTraffic();

  MonitorCore core_;
  ConfigurationRecords records_;
  ServiceUnit service_unit_;
  ApplyConfiguration apply_;
  Communications communications_;
  Ft1Utilities ft1_utilities_;
  FrontEndUtilities front_end_utilities_;
};
