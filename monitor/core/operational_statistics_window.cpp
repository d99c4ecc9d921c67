#include "monitor/core/operational_statistics_window.h"

#include <array>
#include <string>

#include "driver_if/mailbox.h"

namespace {

struct Counter {
  int id;
  size_t offset;
};
constexpr std::array<Counter, 10> kCounters = {{
    {201, 0}, {202, 4}, {205, 8}, {206, 12}, {209, 16},
    {203, 32}, {204, 36}, {207, 40}, {208, 44}, {200, 52},
}};

}  // namespace

void OperationalStatisticsWindow::reset() {
  // A reply never has 0xFF as its command byte, so the first refresh always shows.
  snapshot_.fill(0);
  snapshot_[1] = 0xFF;
  throughput_.clear();
}

void OperationalStatisticsWindow::refresh() {
  CommandBlock& cb = exec_.block();
  cb.clear();
  cb.prepare(READ_CHDLC_OPERATIONAL_STATS);
  exec_.ExecuteCommand();
  if (cb.returnCode() == 0) sampleThroughput();
  if (cb.equals(snapshot_)) return;
  if (cb.returnCode() != 0) return;
  cb.copyTo(snapshot_);
  // Each counter is a full unsigned 32-bit value.
  for (const auto& c : kCounters) form_->setText(c.id, std::to_string(le::get_u32(cb.data(), c.offset)));
}

void OperationalStatisticsWindow::sampleThroughput() {
  // Sampled at every good reply, also when the counters stand still.
  auto data = exec_.block().data();
  if (!throughput_.add(now_(), le::get_u32(data, 4), le::get_u32(data, 36))) return;
  form_->setGraph(kThroughputGraph, {{"Tx", throughput_.tx()}, {"Rx", throughput_.rx()}});
}

void OperationalStatisticsWindow::onButton(int id) {
  if (id != kFlushButton) return;
  exec_.block().prepare(FLUSH_CHDLC_OPERATIONAL_STATS);
  exec_.ExecuteCommand();
}
