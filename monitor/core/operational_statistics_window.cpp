#include "monitor/core/operational_statistics_window.h"

#include <string>

#include "card/chdlc.h"

void OperationalStatisticsWindow::reset() {
  shown_.reset();
  throughput_.clear();
}

void OperationalStatisticsWindow::refresh() {
  const card::Reply<card::OperationalStatistics> reply = card::ReadOperationalStatistics(exec_);
  if (!reply.ok()) return;
  const card::OperationalStatistics& s = reply.value;
  sampleThroughput(s);
  if (shown_ == s) return;
  shown_ = s;
  // Each counter is a full unsigned 32-bit value.
  const std::pair<int, uint32_t> values[] = {
      {201, s.frames_transmitted}, {202, s.bytes_transmitted},  {205, s.transmit_throughput},
      {206, s.transmit_throughput_ms}, {209, s.tx_discarded_length}, {203, s.frames_received},
      {204, s.bytes_received},     {207, s.receive_throughput}, {208, s.receive_throughput_ms},
      {200, s.rx_discarded_length},
  };
  for (const auto& [id, value] : values) form_->setText(id, std::to_string(value));
}

void OperationalStatisticsWindow::sampleThroughput(const card::OperationalStatistics& stats) {
  // Sampled at every good reply, also when the counters stand still.
  if (!throughput_.add(now_(), stats.bytes_transmitted, stats.bytes_received)) return;
  form_->setGraph(kThroughputGraph, {{"Tx", throughput_.tx()}, {"Rx", throughput_.rx()}});
}

void OperationalStatisticsWindow::onButton(int id) {
  if (id == kFlushButton) card::FlushOperationalStatistics(exec_);
}
