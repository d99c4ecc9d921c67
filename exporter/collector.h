#pragma once
// Reads every watched device for a scrape, all in parallel, within one
// deadline, and keeps what the exporter remembers between scrapes. Scrapes
// that arrive while one is being read share its result, so the cards are
// never read twice at once and counters only move forward.

#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "driver_if/card_driver.h"
#include "exporter/device_metrics.h"
#include "exporter/exposition.h"

namespace exporter {

struct DeviceReader;

class Collector {
 public:
  // Without a device list every device present is followed: a device that
  // answered once stays listed, down while it is gone. The driver outlives
  // the collector: a read left behind at a deadline may still be using it.
  Collector(CardDriver& driver, std::optional<std::vector<std::string>> devices);

  // Devices that have not answered by the deadline are down for this scrape.
  std::vector<MetricFamily> collect(std::chrono::milliseconds deadline);

 private:
  struct Outcome {
    bool answered = false;
    DeviceReading reading;
    double seconds = 0;
  };

  std::vector<MetricFamily> read(std::chrono::milliseconds deadline);
  std::vector<std::string> candidates() const;
  std::vector<Outcome> readAll(const std::vector<std::string>& names, std::chrono::milliseconds deadline);

  CardDriver& driver_;
  const std::optional<std::vector<std::string>> configured_;

  std::mutex flight_mutex_;
  std::shared_future<std::vector<MetricFamily>> in_flight_;

  // Touched only by the one scrape reading at a time.
  std::set<std::string> seen_;
  std::map<std::string, DeviceState> states_;
  // Readers left behind at a deadline, so a stuck device costs one thread, not one a scrape.
  std::map<std::string, std::shared_ptr<DeviceReader>> stragglers_;
};

}  // namespace exporter
