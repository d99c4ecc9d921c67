#include "exporter/collector.h"

#include <algorithm>
#include <condition_variable>
#include <thread>

#include "card/device.h"
#include "driver_if/device_names.h"

namespace exporter {

namespace {

// One device's reader thread, cancellable from the scrape that waits for it.
struct Reader {
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
  bool cancelled = false;
  DeviceHandle* handle = nullptr;
};

// Device order: TALVSTRM2 before TALVSTRM10.
bool DeviceLess(const std::string& a, const std::string& b) {
  const auto ia = CardIndexOf(a), ib = CardIndexOf(b);
  if (ia && ib) return *ia < *ib;
  return a < b;
}

}  // namespace

Collector::Collector(CardDriver& driver, std::optional<std::vector<std::string>> devices)
    : driver_(driver), configured_(std::move(devices)) {}

std::vector<MetricFamily> Collector::collect(std::chrono::milliseconds deadline) {
  std::promise<std::vector<MetricFamily>> promise;
  std::shared_future<std::vector<MetricFamily>> result;
  bool leader = false;
  {
    std::lock_guard lock(flight_mutex_);
    if (in_flight_.valid() && in_flight_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
      result = in_flight_;
    } else {
      in_flight_ = result = promise.get_future().share();
      leader = true;
    }
  }
  if (leader) promise.set_value(read(deadline));
  return result.get();
}

std::vector<std::string> Collector::candidates() const {
  if (configured_) return *configured_;
  std::vector<std::string> names;
  for (int i = 0; i < kMaxCards; ++i) names.push_back(CardDeviceName(i));
  return names;
}

std::vector<Collector::Outcome> Collector::readAll(const std::vector<std::string>& names,
                                                   std::chrono::milliseconds deadline) {
  std::vector<Outcome> outcomes(names.size());
  std::vector<Reader> readers(names.size());
  std::vector<std::thread> threads;
  threads.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    threads.emplace_back([this, &name = names[i], &reader = readers[i], &outcome = outcomes[i]] {
      const auto start = std::chrono::steady_clock::now();
      uint32_t error = 0;
      std::unique_ptr<card::Device> device = card::Device::Open(driver_, name, &error);
      if (device) {
        {
          std::lock_guard lock(reader.mutex);
          reader.handle = device->handle();
          if (reader.cancelled) reader.handle->cancel();
        }
        outcome.answered = ReadDevice(device->handle(), device->exec(), &outcome.reading);
      }
      outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::lock_guard lock(reader.mutex);
      reader.handle = nullptr;
      reader.done = true;
      reader.done_cv.notify_all();
    });
  }
  const auto until = std::chrono::steady_clock::now() + deadline;
  for (size_t i = 0; i < names.size(); ++i) {
    Reader& reader = readers[i];
    std::unique_lock lock(reader.mutex);
    if (reader.done_cv.wait_until(lock, until, [&] { return reader.done; })) continue;
    // Too late: whatever it reads from now on fails at once.
    reader.cancelled = true;
    if (reader.handle != nullptr) reader.handle->cancel();
  }
  for (std::thread& t : threads) t.join();
  for (size_t i = 0; i < names.size(); ++i)
    if (readers[i].cancelled) outcomes[i].answered = false;
  return outcomes;
}

std::vector<MetricFamily> Collector::read(std::chrono::milliseconds deadline) {
  const std::vector<std::string> names = candidates();
  std::vector<Outcome> outcomes = readAll(names, deadline);

  for (size_t i = 0; i < names.size(); ++i)
    if (outcomes[i].answered) seen_.insert(names[i]);
  std::vector<size_t> listed;
  for (size_t i = 0; i < names.size(); ++i)
    if (configured_ || seen_.count(names[i])) listed.push_back(i);
  std::sort(listed.begin(), listed.end(), [&](size_t a, size_t b) { return DeviceLess(names[a], names[b]); });

  MetricSet metrics;
  for (size_t i : listed)
    metrics.gauge("talvlink_up", "1 when the device answered this scrape, else 0.", {{"device", names[i]}},
                  outcomes[i].answered ? 1 : 0);
  for (size_t i : listed) {
    if (!outcomes[i].answered) continue;
    metrics.gauge("talvlink_scrape_duration_seconds", "Time taken to read the device in this scrape.",
                  {{"device", names[i]}}, outcomes[i].seconds);
    AppendDeviceMetrics(names[i], outcomes[i].reading, states_[names[i]], metrics);
  }
  return metrics.families();
}

}  // namespace exporter
