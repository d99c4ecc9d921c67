#include "exporter/collector.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <thread>

#include "card/device.h"
#include "driver_if/device_names.h"

namespace exporter {

// One device's reader thread and what it found, shared with the scrape that
// waits for it: a reader stuck where no cancel reaches (a connect that never
// completes) is left behind and finishes on its own.
struct DeviceReader {
  explicit DeviceReader(std::string device) : name(std::move(device)) {}

  const std::string name;
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
  bool cancelled = false;
  DeviceHandle* handle = nullptr;
  bool answered = false;
  DeviceReading reading;
  double seconds = 0;
};

namespace {

// How long a cancelled reader has to notice before the scrape goes on without it.
constexpr std::chrono::milliseconds kCancelGrace{250};

void ReadOne(CardDriver& driver, DeviceReader& reader) {
  const auto start = std::chrono::steady_clock::now();
  uint32_t error = 0;
  DeviceReading reading;
  bool answered = false;
  std::unique_ptr<card::Device> device = card::Device::Open(driver, reader.name, &error);
  if (device) {
    {
      std::lock_guard lock(reader.mutex);
      reader.handle = device->handle();
      if (reader.cancelled) reader.handle->cancel();
    }
    answered = ReadDevice(device->handle(), device->exec(), &reading);
    {
      std::lock_guard lock(reader.mutex);
      reader.handle = nullptr;
    }
    // Closed before the scrape hears it is done, so no handle outlives its scrape.
    device.reset();
  }
  std::lock_guard lock(reader.mutex);
  reader.answered = answered && !reader.cancelled;
  reader.reading = std::move(reading);
  reader.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  reader.done = true;
  reader.done_cv.notify_all();
}

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
  std::vector<std::shared_ptr<DeviceReader>> readers;
  for (const std::string& name : names) {
    // A device whose last reader is still stuck gets no second one: it is down.
    if (auto stuck = stragglers_.find(name); stuck != stragglers_.end()) {
      std::lock_guard lock(stuck->second->mutex);
      if (!stuck->second->done) {
        readers.push_back(nullptr);
        continue;
      }
      stragglers_.erase(stuck);
    }
    auto reader = std::make_shared<DeviceReader>(name);
    std::thread([&driver = driver_, reader] { ReadOne(driver, *reader); }).detach();
    readers.push_back(std::move(reader));
  }
  const auto until = std::chrono::steady_clock::now() + deadline;
  for (auto& reader : readers) {
    if (reader == nullptr) continue;
    std::unique_lock lock(reader->mutex);
    if (reader->done_cv.wait_until(lock, until, [&] { return reader->done; })) continue;
    // Too late: whatever it reads from now on fails at once.
    reader->cancelled = true;
    if (reader->handle != nullptr) reader->handle->cancel();
  }
  std::vector<Outcome> outcomes(names.size());
  const auto grace = std::chrono::steady_clock::now() + kCancelGrace;
  for (size_t i = 0; i < readers.size(); ++i) {
    if (readers[i] == nullptr) continue;
    DeviceReader& reader = *readers[i];
    std::unique_lock lock(reader.mutex);
    if (!reader.done_cv.wait_until(lock, grace, [&] { return reader.done; })) {
      stragglers_[reader.name] = readers[i];
      continue;
    }
    outcomes[i] = {reader.answered, std::move(reader.reading), reader.seconds};
  }
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
