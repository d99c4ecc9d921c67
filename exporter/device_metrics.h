#pragma once
// A device's reading turned into samples: its counters made monotonic
// across wraps and clears, its flags and alarms as 0/1 gauges.

#include <map>
#include <optional>
#include <string>

#include "card/ft1_statistics_line.h"
#include "exporter/device_reading.h"
#include "exporter/metric_set.h"
#include "exporter/wrapping_counter.h"

namespace exporter {

// What the exporter remembers of a device between scrapes.
class DeviceState {
 public:
  // The monotonic value of the counter series named by key.
  uint64_t count(const std::string& key, uint32_t raw, unsigned bits);

  // The FT1 unit reports a statistics line only now and then.
  std::optional<card::Ft1StatisticsLine> ft1_statistics;

 private:
  std::map<std::string, WrappingCounter> counters_;
};

void AppendDeviceMetrics(const std::string& device, const DeviceReading& reading, DeviceState& state,
                         MetricSet& metrics);

}  // namespace exporter
